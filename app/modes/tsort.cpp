// The order dialog of numbering.
#include "tsort.h"
#include "app/tlanguage_controller.h"

#include "ok_cancel_buttons.h"

#include "app/qt_text.h"

#include "engine/natural_order.h"
#include "lang/added_texts.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane::app {

namespace {

constexpr int kRowHeight = 24;

/// The row index an item came from, so a dragged item still finds its file's details.
constexpr int kRowRole = Qt::UserRole;

QListWidget* column(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);
    list->setSpacing(0);
    return list;
}

} // namespace

TSort::TSort(std::vector<Row> rows, const std::vector<std::u32string>& numbers, QWidget* parent)
    : QDialog(parent)
    , m_rows(std::move(rows))
{
    setObjectName(QStringLiteral("Sort"));
    setWindowTitle(QStringLiteral("Scegli l'ordine con cui numerare i files"));
    createControls();
    for (const std::u32string& number : numbers) {
        auto* item = new QListWidgetItem(toDisplay(number), StringGrid1);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setFlags(Qt::ItemIsEnabled);
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        auto* item = new QListWidgetItem(toDisplay(m_rows[i].name), StringGrid2);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setData(kRowRole, static_cast<int>(i));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "Sort");
}

void TSort::createControls()
{
    auto* scrollBox = new QFrame(this);
    scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    StringGrid1 = column(scrollBox, "StringGrid1");
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->setFixedWidth(
        StringGrid1->fontMetrics().horizontalAdvance(QStringLiteral("-0000000000")) + 12);
    StringGrid2 = column(scrollBox, "StringGrid2");
    StringGrid2->setDragDropMode(QAbstractItemView::InternalMove);
    StringGrid2->setDefaultDropAction(Qt::MoveAction);
    StringGrid2->setSelectionMode(QAbstractItemView::SingleSelection);
    // The numbers scroll with the names, so a row's number always stands beside it.
    connect(StringGrid2->verticalScrollBar(), &QScrollBar::valueChanged,
        StringGrid1->verticalScrollBar(), &QScrollBar::setValue);
    connect(StringGrid2->verticalScrollBar(), &QScrollBar::rangeChanged, this,
        [this](int, int max) { StringGrid1->verticalScrollBar()->setRange(0, max); });
    StringGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    StringGrid2->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    auto* grids = new QGridLayout(scrollBox);
    grids->setContentsMargins(0, 0, 0, 0);
    auto* numbering = new QLabel(QStringLiteral("Numerazione"), scrollBox);
    numbering->setObjectName(QStringLiteral("Label2"));
    grids->addWidget(numbering, 0, 0);
    auto* heading = new QLabel(
        QStringLiteral(
            "File sorgente: Spostare gli elementi in modo da ottenere l'ordine desiderato"),
        scrollBox);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setWordWrap(true);
    grids->addWidget(heading, 0, 1);
    grids->addWidget(StringGrid1, 1, 0);
    grids->addWidget(StringGrid2, 1, 1);
    grids->setColumnStretch(1, 1);

    auto* sorting = new QHBoxLayout;
    const auto sortButton = [this, sorting](lang::ConstantId caption, void (TSort::*sort)()) {
        auto* b = new QPushButton(toDisplay(lang::addedText(caption)), this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, sort);
        sorting->addWidget(b);
    };
    sortButton(lang::added::ORDINA_NOME, &TSort::sortByName);
    sortButton(lang::added::ORDINA_DATA, &TSort::sortByDate);
    sortButton(lang::added::ORDINA_DIMENSIONE, &TSort::sortBySize);
    sortButton(lang::added::ORDINA_INVERTI, &TSort::reverse);
    sorting->addStretch(1);

    QDialogButtonBox* box = okCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollBox, 1);
    layout->addLayout(sorting);
    layout->addWidget(box);
    resize(520, 480);
}

std::vector<int> TSort::shownIndexes() const
{
    std::vector<int> indexes;
    indexes.reserve(static_cast<std::size_t>(StringGrid2->count()));
    for (int i = 0; i < StringGrid2->count(); ++i)
        indexes.push_back(StringGrid2->item(i)->data(kRowRole).toInt());
    return indexes;
}

void TSort::showIndexes(const std::vector<int>& indexes)
{
    // Only the names move: the number column keeps its rows.
    for (int i = 0; i < StringGrid2->count(); ++i) {
        const int index = indexes.at(static_cast<std::size_t>(i));
        StringGrid2->item(i)->setText(toDisplay(m_rows.at(static_cast<std::size_t>(index)).name));
        StringGrid2->item(i)->setData(kRowRole, index);
    }
}

engine::EntryList TSort::orderList() const
{
    engine::EntryList list;
    for (const int index : shownIndexes()) {
        const std::u32string& name = m_rows.at(static_cast<std::size_t>(index)).name;
        if (name.empty())
            break;
        list.push_back(name + engine::kFileKind);
    }
    return list;
}

void TSort::sortBy(const std::function<bool(const Row&, const Row&)>& less)
{
    std::vector<int> indexes = shownIndexes();
    std::ranges::stable_sort(indexes, [&](int a, int b) {
        return less(m_rows[static_cast<std::size_t>(a)], m_rows[static_cast<std::size_t>(b)]);
    });
    showIndexes(indexes);
}

void TSort::sortByName()
{
    sortBy([](const Row& a, const Row& b) { return engine::naturalLess(a.name, b.name); });
}

void TSort::sortByDate()
{
    sortBy([](const Row& a, const Row& b) {
        return a.mtimeNs != b.mtimeNs ? a.mtimeNs < b.mtimeNs : engine::naturalLess(a.name, b.name);
    });
}

void TSort::sortBySize()
{
    sortBy([](const Row& a, const Row& b) {
        return a.size != b.size ? a.size < b.size : engine::naturalLess(a.name, b.name);
    });
}

void TSort::reverse()
{
    std::vector<int> indexes = shownIndexes();
    std::ranges::reverse(indexes);
    showIndexes(indexes);
}

} // namespace quorvane::app
