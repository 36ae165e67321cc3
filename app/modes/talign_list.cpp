// The alignment dialog of the list modes.
#include "talign_list.h"
#include "app/tlanguage_controller.h"

#include "ok_cancel_buttons.h"

#include "app/qt_text.h"

#include "engine/name_rules.h"
#include "engine/prompts.h"
#include "lang/language_manager.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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
/// A source row keeps the exact name it stands for: a displayed text is never a file name.
constexpr int kNameRole = Qt::UserRole;
/// The grids show two design rows when there is nothing to show.
constexpr int kDesignRows = 2;

QListWidget* column(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setDragDropMode(QAbstractItemView::InternalMove);
    list->setDefaultDropAction(Qt::MoveAction);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

void addRow(QListWidget& list, const std::u32string& text, bool keepName)
{
    // A destination is text the user may edit; a source shows its name readably and keeps
    // the exact name apart.
    auto* item = new QListWidgetItem(keepName ? toDisplay(text) : toQt(text), &list);
    item->setSizeHint(QSize(0, kRowHeight));
    if (keepName)
        item->setData(kNameRole, toQt(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
}

} // namespace

TAlignlist::TAlignlist(const std::vector<std::u32string>& names, const engine::EntryList& sources,
    engine::Prompts& prompts, QWidget* parent)
    : QDialog(parent)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("Alignlist"));
    setWindowTitle(QStringLiteral("Imposta filename e seleziona l'ordine"));
    createControls();
    for (const std::u32string& name : names)
        addRow(*StringGrid2, name, false);
    for (const std::u32string& entry : sources) {
        if (engine::dir_or_file(entry) == engine::kFileKind)
            addRow(*StringGrid1, engine::extract_name(entry), true);
    }
    const int rows = std::max({ StringGrid1->count(), StringGrid2->count(), kDesignRows });
    while (StringGrid2->count() < rows)
        addRow(*StringGrid2, {}, false);
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "Alignlist");
}

void TAlignlist::createControls()
{
    auto* scrollBox = new QWidget(this);
    scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    StringGrid1 = column(scrollBox, "StringGrid1");
    StringGrid2 = column(scrollBox, "StringGrid2");
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The two columns scroll together, so a file always stands beside its name.
    connect(StringGrid2->verticalScrollBar(), &QScrollBar::valueChanged,
        StringGrid1->verticalScrollBar(), &QScrollBar::setValue);
    connect(StringGrid1->verticalScrollBar(), &QScrollBar::valueChanged,
        StringGrid2->verticalScrollBar(), &QScrollBar::setValue);
    auto* grids = new QGridLayout(scrollBox);
    grids->setContentsMargins(0, 0, 0, 0);
    auto* label1 = new QLabel(QStringLiteral("Sorgente"), scrollBox);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("Destinazione"), scrollBox);
    label2->setObjectName(QStringLiteral("Label2"));
    grids->addWidget(label1, 0, 0);
    grids->addWidget(label2, 0, 1);
    grids->addWidget(StringGrid1, 1, 0);
    grids->addWidget(StringGrid2, 1, 1);

    const auto box = [this](const char* name, const char* caption, const char* hint, bool on) {
        auto* check = new QCheckBox(QString::fromUtf8(caption), this);
        check->setObjectName(QString::fromLatin1(name));
        check->setToolTip(QString::fromUtf8(hint));
        check->setChecked(on);
        return check;
    };
    CheckBox1 = box("CheckBox1", "Mantieni l'estensione del file sorgente",
        "Non modifica l'estensione del file sorgente", true);
    CheckBox2 = box("CheckBox2", "Modifica lista \"Destinazione\"",
        "Abilita la possibilità di modificare la lista di destra", false);
    CheckBox3 = box("CheckBox3", "Imposta numerazione files",
        "Imposta la numerazione dei file nella lista", false);
    connect(CheckBox2, &QCheckBox::clicked, this, &TAlignlist::CheckBox2Click);

    QDialogButtonBox* buttons = okCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollBox, 1);
    layout->addWidget(CheckBox1);
    layout->addWidget(CheckBox2);
    layout->addWidget(CheckBox3);
    layout->addWidget(buttons);
    resize(560, 480);
}

void TAlignlist::CheckBox2Click()
{
    const bool edit = CheckBox2->isChecked();
    StringGrid2->setDragDropMode(
        edit ? QAbstractItemView::NoDragDrop : QAbstractItemView::InternalMove);
    StringGrid2->setEditTriggers(
        edit ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < StringGrid2->count(); ++row) {
        QListWidgetItem* item = StringGrid2->item(row);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable
            | (edit ? Qt::ItemIsEditable : Qt::ItemIsDragEnabled));
    }
}

bool TAlignlist::numberingAfter() const
{
    return CheckBox3->isChecked();
}

std::u32string TAlignlist::sourceAt(int row) const
{
    const QListWidgetItem* item = StringGrid1->item(row);
    return item == nullptr ? std::u32string {} : toCore(item->data(kNameRole).toString());
}

std::u32string TAlignlist::destinationAt(int row) const
{
    const QListWidgetItem* item = StringGrid2->item(row);
    return item == nullptr ? std::u32string {} : toCore(item->text());
}

bool TAlignlist::tableComplete()
{
    for (int row = 0; row < StringGrid1->count(); ++row) {
        if (sourceAt(row).empty() || !destinationAt(row).empty())
            continue;
        const engine::Button answer = m_prompts.ask({ "TABELLA_INCOMPLETA",
            engine::Severity::Confirmation, lang::LookupConstant(lang::id::TABELLA_INCOMPLETA),
            { engine::Button::Yes, engine::Button::No }, engine::Button::Yes });
        if (answer == engine::Button::Yes) {
            // Every missing destination from here down keeps its file's name.
            for (int fill = row; fill < StringGrid1->count(); ++fill) {
                if (destinationAt(fill).empty())
                    StringGrid2->item(fill)->setText(toQt(engine::SplitExt(sourceAt(fill)).base));
            }
        }
        // The user sees the table as it is now and confirms again.
        return false;
    }
    return true;
}

void TAlignlist::buildLists()
{
    m_orderList.clear();
    m_targetNames.clear();
    for (int row = 0; row < StringGrid1->count(); ++row) {
        const std::u32string source = sourceAt(row);
        if (source.empty())
            break;
        m_orderList.push_back(source + engine::kFileKind);
        const engine::SplitName parts = engine::SplitExt(source);
        std::u32string target = destinationAt(row);
        if (CheckBox1->isChecked() && !parts.ext.empty())
            target += U"." + parts.ext;
        m_targetNames.push_back(std::move(target));
    }
}

void TAlignlist::accept()
{
    if (!tableComplete())
        return;
    buildLists();
    QDialog::accept();
}

} // namespace quorvane::app
