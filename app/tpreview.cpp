// The rename preview window: every entry of a dry run with its name before and after.
#include "tpreview.h"
#include "app/tlanguage_controller.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
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

std::array<int, 3> TPreview::columnWidthsFor(int windowWidth, std::array<int, 3> wanted)
{
    const int share = columnWidthFor(windowWidth);
    if (std::ranges::all_of(wanted, [share](int w) { return w <= share; }))
        return { share, share, share };
    // The names are what the preview is for; the directory, the same on many rows, gives
    // way down to a fifth of the width (or less, when it needs less).
    const int total = share * 3;
    const int directoryLeast = std::min(wanted[PreviewModel::DirectoryColumn], total / 5);
    const int forNames = total - directoryLeast;
    const int oldName = wanted[PreviewModel::OldNameColumn];
    const int newName = wanted[PreviewModel::NewNameColumn];
    int oldWidth = forNames / 2;
    int newWidth = forNames - oldWidth;
    // A name that needs less than half leaves the rest to the other.
    if (oldName < oldWidth) {
        oldWidth = oldName;
        newWidth = std::min(newName, forNames - oldWidth);
    } else if (newName < newWidth) {
        newWidth = newName;
        oldWidth = std::min(oldName, forNames - newWidth);
    }
    std::array<int, 3> widths {};
    widths[PreviewModel::OldNameColumn] = oldWidth;
    widths[PreviewModel::NewNameColumn] = newWidth;
    widths[PreviewModel::DirectoryColumn] = total - oldWidth - newWidth;
    return widths;
}

int TPreview::wantedWidth(int column) const
{
    // A sample is enough to size the columns, and a million rows are never measured.
    constexpr int kSampledRows = 1000;
    const int padding
        = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
    const QFontMetrics headerMetrics(StringGrid1->horizontalHeader()->font());
    int wanted = headerMetrics.horizontalAdvance(
                     m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString())
        + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const QFontMetrics plain(StringGrid1->font());
    QFont boldFont = StringGrid1->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    const int rows = std::min(m_model->rowCount(), kSampledRows);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_model->index(row, column);
        const QFontMetrics& metrics = m_model->data(index, Qt::FontRole).isValid() ? bold : plain;
        wanted = std::max(wanted,
            metrics.horizontalAdvance(m_model->data(index, Qt::DisplayRole).toString()) + padding);
    }
    return wanted;
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
    // One width for all three columns, unless a name would be cut where another column has
    // room to spare; widths dragged by the user give way to it.
    std::array<int, 3> wanted {};
    for (int column = 0; column < PreviewModel::ColumnCount; ++column)
        wanted[static_cast<std::size_t>(column)] = wantedWidth(column);
    const std::array<int, 3> widths = columnWidthsFor(width(), wanted);
    QHeaderView* header = StringGrid1->horizontalHeader();
    header->setDefaultSectionSize(columnWidthFor(width()));
    for (int column = 0; column < PreviewModel::ColumnCount; ++column)
        header->resizeSection(column, widths[static_cast<std::size_t>(column)]);
}

} // namespace quorvane::app
