// The numbering dialog.
#include "tform_numera.h"
#include "app/tlanguage_controller.h"

#include "ok_cancel_buttons.h"

#include "app/qt_text.h"

#include "engine/integer_text.h"
#include "engine/numbering_layout.h"
#include "engine/prompts.h"
#include "lang/added_texts.h"
#include "lang/language_manager.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace quorvane::app {

namespace {

template<typename Widget>
Widget* named(Widget* widget, const char* name, const char* hint = "")
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setToolTip(QString::fromUtf8(hint));
    return widget;
}

// An item holds its element as what it is; its text is only the element's name in the
// language in force, so that a layout keeps its meaning across a switch of language.
constexpr int kKindRole = Qt::UserRole; ///< the engine::LayoutKind
constexpr int kLiteralRole = Qt::UserRole + 1; ///< a literal's text

QListWidgetItem* itemFor(engine::LayoutKind kind, const QString& shown, const QString& literal = {})
{
    auto* item = new QListWidgetItem(shown);
    item->setData(kKindRole, static_cast<int>(kind));
    item->setData(kLiteralRole, literal);
    return item;
}

engine::LayoutKind kindOf(const QListWidgetItem& item)
{
    return static_cast<engine::LayoutKind>(item.data(kKindRole).toInt());
}

} // namespace

TFormNumera::TFormNumera(engine::RunState& state, engine::Prompts& prompts, QAction& numbering,
    QAction& removal, QWidget* parent, bool orderFixed)
    : QDialog(parent)
    , m_state(state)
    , m_prompts(prompts)
    , m_numbering(numbering)
    , m_removal(removal)
{
    setObjectName(QStringLiteral("FormNumera"));
    setWindowTitle(QStringLiteral("Numerazione Progressiva Files"));
    createControls();
    connectSignals();
    TrackBar1->setValue(m_state.NumDigits);
    // After a list dialog the files already have the order of the list.
    CheckBox1->setVisible(!orderFixed);
    const engine::NumberingLayout start
        = m_state.NumLayout.empty() ? engine::defaultNumLayout() : m_state.NumLayout;
    for (const engine::LayoutElement& element : start)
        addElement(element);
    SpeedButton4->setEnabled(false);
    SpBref();
    numera_on();
    Edit2->setText(QString::number(m_state.NumStart));
    Edit3->setText(QString::number(m_state.NumStep));
    example();
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "FormNumera");
}

void TFormNumera::createControls()
{
    ListBox1 = named(
        new QListWidget(this), "ListBox1", "Il nome del File sara' composto da questi elementi");
    ListBox2
        = named(new QListWidget(this), "ListBox2", "Elementi disponibili per comporre il Filename");
    // "Stringa" offers a literal, which the user types when it is added.
    using engine::LayoutKind;
    for (const auto& [kind, id] : { std::pair { LayoutKind::FileName, lang::id::FILENAME },
             std::pair { LayoutKind::Number, lang::id::NUMERAZIONE },
             std::pair { LayoutKind::Separator, lang::id::SEPARATORE },
             std::pair { LayoutKind::Literal, lang::id::STRING },
             std::pair { LayoutKind::Space, lang::id::SPAZIO } })
        ListBox2->addItem(itemFor(kind, constantText(id)));
    const auto button = [this](const char* name, const char* hint, QStyle::StandardPixmap icon) {
        auto* b = named(new QToolButton(this), name, hint);
        b->setIcon(style()->standardIcon(icon));
        return b;
    };
    SpeedButton4 = button("SpeedButton4", "Aggiungi", QStyle::SP_ArrowLeft);
    SpeedButton1 = button("SpeedButton1", "Scorri in su", QStyle::SP_ArrowUp);
    SpeedButton3 = button("SpeedButton3", "Scorri in giu", QStyle::SP_ArrowDown);
    SpeedButton2 = button("SpeedButton2", "Elimina", QStyle::SP_TrashIcon);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    for (QToolButton* b : { SpeedButton4, SpeedButton1, SpeedButton3, SpeedButton2 })
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(ListBox1, 1);
    lists->addLayout(buttons);
    lists->addWidget(ListBox2, 1);

    auto* digits = new QGroupBox(QStringLiteral(" # Cifre per la numerazione "), this);
    digits->setObjectName(QStringLiteral("GroupBox1"));
    TrackBar1 = named(new QSlider(Qt::Horizontal, digits), "TrackBar1",
        "Varia il numero di cifre utilizzato per la numerazione");
    TrackBar1->setRange(1, 8);
    TrackBar1->setSingleStep(1);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    Label1 = named(new QLabel(QStringLiteral("2 Cifre"), digits), "Label1");
    Label1->setMinimumWidth(Label1->fontMetrics().horizontalAdvance(QStringLiteral("8 cifre")) + 8);
    auto* digitRow = new QHBoxLayout(digits);
    digitRow->addWidget(TrackBar1, 1);
    digitRow->addWidget(Label1);

    Edit2 = named(new QLineEdit(QStringLiteral("1"), this), "Edit2",
        "La numerazione inizia da questo numero");
    Edit3 = named(new QLineEdit(QStringLiteral("1"), this), "Edit3",
        "Numero che viene sommato da un file all'altro nella numerazione");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Seleziona l'ordine"), this), "CheckBox1",
        "Permette di scegliere l'ordine dei files con cui effettuare la numerazione");
    Edit1 = named(
        new QLineEdit(this), "Edit1", "Il filename sara' costruito in base a questo schema");
    Edit1->setReadOnly(true);
    Edit1->setEnabled(false);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Base di partenza per la numerazione "), Edit2);
    fields->addRow(QStringLiteral("Incremento automatico"), Edit3);
    fields->addRow(QString(), CheckBox1);
    fields->addRow(QStringLiteral("Esempio :"), Edit1);
    // Named so that a language file reaches them.
    fields->labelForField(Edit2)->setObjectName(QStringLiteral("Label2"));
    fields->labelForField(Edit3)->setObjectName(QStringLiteral("Label3"));
    fields->labelForField(Edit1)->setObjectName(QStringLiteral("Label4"));

    QDialogButtonBox* box = okCancelButtons(*this);

    auto* column = new QVBoxLayout(this);
    column->addLayout(lists, 1);
    column->addWidget(digits);
    column->addLayout(fields);
    column->addWidget(box);
    resize(460, 420);
}

void TFormNumera::connectSignals()
{
    connect(ListBox2, &QListWidget::itemClicked, this, [this] { SpeedButton4->setEnabled(true); });
    connect(ListBox2, &QListWidget::itemDoubleClicked, this, [this] { Addlistbox(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] {
        if (ListBox2->currentItem() != nullptr)
            Addlistbox();
    });
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormNumera::SpeedButton1Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TFormNumera::SpeedButton3Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFormNumera::SpeedButton2Click);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TFormNumera::SpBref);
    connect(TrackBar1, &QSlider::valueChanged, this, &TFormNumera::ShowNCifre);
}

void TFormNumera::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ShowNCifre();
    numera_on();
    // The custom order is never preselected.
    CheckBox1->setChecked(false);
}

engine::NumberingLayout TFormNumera::layout() const
{
    engine::NumberingLayout elements;
    elements.reserve(static_cast<std::size_t>(ListBox1->count()));
    for (int row = 0; row < ListBox1->count(); ++row) {
        const QListWidgetItem& item = *ListBox1->item(row);
        elements.push_back({ kindOf(item), toCore(item.data(kLiteralRole).toString()) });
    }
    return elements;
}

void TFormNumera::addElement(const engine::LayoutElement& element)
{
    ListBox1->addItem(
        itemFor(element.kind, toDisplay(engine::layoutElementText(element)), toQt(element.text)));
}

void TFormNumera::Addlistbox()
{
    const QListWidgetItem* item = ListBox2->currentItem();
    if (item == nullptr)
        return;
    if (kindOf(*item) == engine::LayoutKind::Literal) {
        const std::optional<std::u32string> typed = m_prompts.input(
            { "INSERISCI_STRING_O_CHAR", lang::LookupConstant(lang::id::STRING_O_CHAR),
                lang::LookupConstant(lang::id::INSERISCI_STRING_O_CHAR), U"" });
        if (typed)
            addElement({ engine::LayoutKind::Literal, *typed });
    } else {
        addElement({ kindOf(*item), {} });
    }
    SpBref();
    numera_on();
    example();
}

void TFormNumera::swapWithRow(int offset)
{
    const int row = ListBox1->currentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= ListBox1->count())
        return;
    QListWidgetItem* item = ListBox1->takeItem(row);
    ListBox1->insertItem(other, item);
    ListBox1->setCurrentRow(other);
    SpBref();
    example();
}

void TFormNumera::SpeedButton1Click()
{
    swapWithRow(-1);
}

void TFormNumera::SpeedButton3Click()
{
    swapWithRow(+1);
}

void TFormNumera::SpeedButton2Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    delete ListBox1->takeItem(row);
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(std::min(row, ListBox1->count() - 1));
    SpBref();
    numera_on();
    example();
}

void TFormNumera::SpBref()
{
    const int row = ListBox1->currentRow();
    const bool selected = row >= 0 && row < ListBox1->count();
    SpeedButton2->setEnabled(selected);
    SpeedButton1->setEnabled(selected && row > 0);
    SpeedButton3->setEnabled(selected && row < ListBox1->count() - 1);
}

void TFormNumera::numera_on()
{
    TrackBar1->setEnabled(false);
    Label1->setText(toQt(lang::addedText(lang::added::CIFRE_OFF)));
    if (engine::layoutHasNumber(layout())) {
        TrackBar1->setEnabled(true);
        ShowNCifre();
    }
}

void TFormNumera::ShowNCifre()
{
    if (TrackBar1->isEnabled())
        Label1->setText(
            QStringLiteral("%1 %2").arg(TrackBar1->value()).arg(constantText(lang::id::CIFRE)));
    example();
}

void TFormNumera::example()
{
    Edit1->setText(toDisplay(engine::numberingExample(layout(), TrackBar1->value())));
}

bool TFormNumera::finishEditing(bool ok)
{
    const engine::NumberingLayout elements = layout();
    // OK with an empty layout arms nothing; a layout disarms the removal of numbers.
    if (elements.empty())
        m_numbering.setChecked(false);
    else
        m_removal.setChecked(false);
    m_state.NumLayout = elements;
    m_state.NumDigits = TrackBar1->value();
    m_state.NumCustomOrder = ok && !elements.empty() && CheckBox1->isChecked();

    const engine::CleanedStart start = engine::cleanStartValue(toCore(Edit2->text()));
    if (start.changed) {
        m_prompts.tell({ "CHAR_NUMERAZIONE_NON_VALIDI", engine::Severity::Information,
            lang::LookupConstant(lang::id::CHAR_NUMERAZIONE_NON_VALIDI) + start.text });
    }
    Edit2->setText(toQt(start.text));
    const std::optional<std::int32_t> startValue = engine::integerValue(start.text);
    const std::u32string stepText = toCore(Edit3->text());
    const std::optional<std::int32_t> stepValue = engine::integerValue(stepText);
    if (startValue)
        m_state.NumStart = *startValue;
    if (startValue && stepValue)
        m_state.NumStep = *stepValue;
    // Cancel always closes: a field it would refuse keeps its earlier value instead.
    if (!ok)
        return true;
    if (!startValue || !stepValue) {
        m_prompts.tell({ "EConvertError", engine::Severity::Error,
            engine::notAnIntegerMessage(startValue ? stepText : start.text) });
        (startValue ? Edit3 : Edit2)->setFocus();
        return false;
    }
    return true;
}

void TFormNumera::accept()
{
    if (finishEditing(true))
        QDialog::accept();
}

void TFormNumera::reject()
{
    m_numbering.setChecked(false);
    (void)finishEditing(false);
    QDialog::reject();
}

} // namespace quorvane::app
