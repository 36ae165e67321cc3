// The rename preview window: every entry of a dry run with its name before and after.
#include "tpreview.h"
#include "app/tlanguage_controller.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

#include "preview_model.h"

#include <algorithm>

namespace quorvane::app {

namespace {

constexpr int kRowHeight = 24;
constexpr int kPanelHeight = 41;

QTableView* makeGrid(QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("StringGrid1"));
    grid->setFrameShape(QFrame::NoFrame);
    grid->setShowGrid(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    grid->setPalette(palette);

    QHeaderView* rows = grid->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* columns = grid->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setHighlightSections(false);
    return grid;
}

} // namespace

TPreview::TPreview(engine::UndoLog rows, std::vector<engine::PreviewMark> marks, QWidget* parent)
    : QDialog(parent)
    , m_model(new PreviewModel(std::move(rows), std::move(marks), this))
    , StringGrid1(makeGrid(this))
    , Panel1(new QWidget(this))
    , Button1(new QPushButton(QStringLiteral("Chiudi"), Panel1))
{
    setObjectName(QStringLiteral("TPreview"));
    setWindowTitle(QStringLiteral("Anteprima"));
    setModal(true);
    setMinimumSize(800, 600);
    resize(808, 631);

    StringGrid1->setModel(m_model);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kPanelHeight);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setFocus(); // no current cell is marked until the user picks one
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(8, 0, 8, 0);
    panelLayout->addStretch();
    panelLayout->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(Panel1);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "Preview");
}

int TPreview::columnWidthFor(int windowWidth)
{
    return std::max(0, (windowWidth - 30) / 3);
}

void TPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TPreview::FormShow()
{
    // The rows are in the model already; showing sets the widths and places the window.
    spreadColumns();
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TPreview::FormResize()
{
    spreadColumns();
}

void TPreview::spreadColumns()
{
    // One width for all three columns; widths dragged by the user give way to it.
    const int w = columnWidthFor(width());
    QHeaderView* header = StringGrid1->horizontalHeader();
    header->setDefaultSectionSize(w);
    for (int column = 0; column < PreviewModel::ColumnCount; ++column)
        header->resizeSection(column, w);
}

} // namespace quorvane::app
