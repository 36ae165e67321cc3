// The album dialog of the CD player mode.
#include "tcdp_form.h"
#include "app/tlanguage_controller.h"

#include "app/qt_text.h"

#include "engine/cd_player_db.h"
#include "engine/prompts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane::app {

namespace {

constexpr int kRowHeight = 18;

} // namespace

TCDPForm::TCDPForm(const engine::IniFile& ini, engine::Prompts& prompts, QWidget* parent)
    : QDialog(parent)
    , m_ini(ini)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("CDPForm"));
    setWindowTitle(QStringLiteral("Scegli l'album"));
    createControls();
    CDPlayer();
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "CDPForm");
}

void TCDPForm::createControls()
{
    DBGrid = new QTableWidget(0, 4, this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setHorizontalHeaderLabels({ QStringLiteral("CD ID"), QStringLiteral("Artist"),
        QStringLiteral("Album"), QStringLiteral("# Track") });
    DBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid->verticalHeader()->setVisible(false);
    DBGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    DBGrid->horizontalHeader()->setSectionsMovable(true);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = { 64, 209, 265, 65 };
    for (int column = 0; column < 4; ++column)
        DBGrid->setColumnWidth(column, widths[column]);
    connect(DBGrid, &QTableWidget::currentCellChanged, this,
        [this](int row, int, int, int) { chooseRow(row); });

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Button1 = new QPushButton(QStringLiteral("Continua"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Annulla"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, &TCDPForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Edit1, 1);
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid, 1);
    layout->addLayout(bottom);
    resize(640, 360);
}

void TCDPForm::CDPlayer()
{
    const std::vector<engine::CdAlbum> albums = engine::cdAlbums(m_ini);
    DBGrid->setRowCount(static_cast<int>(albums.size()));
    for (int row = 0; row < DBGrid->rowCount(); ++row) {
        const engine::CdAlbum& album = albums[static_cast<std::size_t>(row)];
        int column = 0;
        for (const std::u32string* cell :
            { &album.id, &album.artist, &album.title, &album.numtracks })
            DBGrid->setItem(row, column++, new QTableWidgetItem(toDisplay(*cell)));
    }
    // CD identifiers are longer than the column's usual width: show them whole.
    DBGrid->resizeColumnToContents(0);
    DBGrid->setColumnWidth(0, std::max(DBGrid->columnWidth(0), 64));
    DBGrid->setCurrentCell(-1, -1);
    Edit1->clear();
    Button1->setEnabled(false);
}

void TCDPForm::chooseRow(int row)
{
    if (row < 0 || row >= DBGrid->rowCount())
        return;
    // The text field reads the artist and album cells wherever the columns were dragged.
    Edit1->setText(
        DBGrid->item(row, 1)->text() + QStringLiteral(" - ") + DBGrid->item(row, 2)->text());
    Button1->setEnabled(true);
}

void TCDPForm::Button1Click()
{
    const int row = DBGrid->currentRow();
    if (row < 0)
        return;
    const engine::CdTracks tracks = engine::cdTrackTitles(m_ini, static_cast<std::size_t>(row));
    if (!tracks.error.empty()) {
        m_prompts.tell({ "EConvertError", engine::Severity::Error, tracks.error });
        return;
    }
    m_titles = tracks.titles;
    accept();
}

} // namespace quorvane::app
