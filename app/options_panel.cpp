// The option column of the main window.
#include "options_panel.h"

#include "qt_text.h"
#include "slot_guard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvane::app {

namespace {

QFrame* horizontalRule(QWidget* parent)
{
    auto* rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

QCheckBox* checkBox(
    QWidget* parent, const char* name, const char* caption, const char* hint, bool checked)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(QString::fromUtf8(hint));
    box->setChecked(checked);
    return box;
}

QRadioButton* radioButton(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    auto* button = new QRadioButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(hint));
    return button;
}

} // namespace

OptionsPanel::OptionsPanel(engine::Prompts& prompts, const OptionItems& items, QWidget* parent)
    : QFrame(parent)
    , m_prompts(prompts)
    , m_items(items)
{
    setObjectName(QStringLiteral("Panel1"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    createAttributeBoxes();
    createDirectoryBoxes();
    createCapitalBoxes();
    connectSignals();
    RadioButton1->setChecked(true);
    ChkAttr();
    ComboBox1->setCurrentIndex(engine::kCaseOptimize);
}

void OptionsPanel::createAttributeBoxes()
{
    RadioButton1 = radioButton(this, "RadioButton1", "Non modificare gli Attributi",
        "Lascia invariati gli attributi dei file");
    RadioButton2 = radioButton(
        this, "RadioButton2", "Modifica gli Attributi", "Imposta gli attributi come specificato");
    CheckBox1 = checkBox(this, "CheckBox1", "Read Only", "", false);
    CheckBox2 = checkBox(this, "CheckBox2", "Hidden", "", false);
    CheckBox3 = checkBox(this, "CheckBox3", "System", "", false);
    CheckBox4 = checkBox(this, "CheckBox4", "Archive", "", false);
    auto* attributes = new QGridLayout;
    attributes->setContentsMargins(12, 0, 0, 0);
    attributes->addWidget(CheckBox1, 0, 0);
    attributes->addWidget(CheckBox3, 0, 1);
    attributes->addWidget(CheckBox2, 1, 0);
    attributes->addWidget(CheckBox4, 1, 1);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addWidget(RadioButton1);
    column->addWidget(RadioButton2);
    column->addLayout(attributes);
    column->addWidget(horizontalRule(this));
}

void OptionsPanel::createDirectoryBoxes()
{
    Label1 = new QLabel(QStringLiteral("Rinomina:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    CheckBox7 = checkBox(this, "CheckBox7", "Le Directory", "Rinomina anche le Directory", true);
    CheckBox5 = checkBox(this, "CheckBox5", "Solo le Directory",
        "Rinomina SOLO le Directory, e non i files contenuti", false);
    CheckBox10 = checkBox(this, "CheckBox10", "I files nelle Sottodirectory",
        "Rinomina ricorsivamente tutti i files nelle sottodirectory", false);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addWidget(Label1);
    column->addWidget(CheckBox7);
    column->addWidget(CheckBox5);
    column->addWidget(CheckBox10);
    column->addWidget(horizontalRule(this));
}

void OptionsPanel::createCapitalBoxes()
{
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(
        { QStringLiteral("Non ottimizzare maiuscole"), QStringLiteral("Ottimizza Maiuscole"),
            QStringLiteral("TUTTO MAIUSCOLO"), QStringLiteral("tutto minuscolo") });
    ComboBox1->setToolTip(QStringLiteral("Seleziona il tipo di Ottimizzazione delle Maiuscole"));
    CheckBox9 = checkBox(this, "CheckBox9", "Converti la 1° lettera in maiuscolo",
        "Deselezionata, la prima lettera diverra' minuscola", true);
    CheckBox6 = checkBox(
        this, "CheckBox6", "Maiuscola dopo ogni spazio", "e dopo un aperta parentesi tonda", true);
    CheckBox12 = checkBox(this, "CheckBox12", "Maiuscola dopo ogni trattino",
        "e dopo un aperta parentesi tonda", true);
    // Hidden capital boxes keep their room, so the column does not jump when the mode changes.
    for (QCheckBox* box : { CheckBox9, CheckBox6, CheckBox12 }) {
        QSizePolicy policy = box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        box->setSizePolicy(policy);
    }
    auto* capitals = new QVBoxLayout;
    capitals->setContentsMargins(8, 0, 0, 0);
    capitals->setSpacing(2);
    capitals->addWidget(CheckBox9);
    capitals->addWidget(CheckBox6);
    capitals->addWidget(CheckBox12);
    CheckBox8 = checkBox(this, "CheckBox8", "Converti i trattini \"_\" in spazi",
        "Converte gli Underscore \"_\" in spazi vuoti", false);
    CheckBox11 = checkBox(this, "CheckBox11", "Espandi i trattini \"-\"",
        R"(Mette due spazi ai lati di un trattino "-" (-> " - "))", false);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addWidget(ComboBox1);
    column->addLayout(capitals);
    column->addWidget(horizontalRule(this));
    column->addWidget(CheckBox8);
    column->addWidget(CheckBox11);
}

void OptionsPanel::connectSignals()
{
    const auto handle
        = [this](void (OptionsPanel::*handler)()) { return guardedSlot(m_prompts, this, handler); };
    connect(
        ComboBox1, &QComboBox::currentIndexChanged, this, handle(&OptionsPanel::ComboBox1Change));
    connect(CheckBox6, &QCheckBox::clicked, this, handle(&OptionsPanel::CheckBox6Click));
    connect(CheckBox5, &QCheckBox::clicked, this, handle(&OptionsPanel::CheckBox5Click));
    connect(RadioButton1, &QRadioButton::toggled, this, handle(&OptionsPanel::ChkAttr));
    connect(RadioButton2, &QRadioButton::toggled, this, handle(&OptionsPanel::ChkAttr));
}

void OptionsPanel::FormShow()
{
    if (CheckBox6->isChecked()) {
        CheckBox12->setEnabled(false);
        CheckBox12->setChecked(true);
    }
    ComboBox1Change();
}

void OptionsPanel::ComboBox1Change()
{
    const bool optimize = ComboBox1->currentIndex() == engine::kCaseOptimize;
    CheckBox9->setVisible(optimize);
    CheckBox6->setVisible(optimize);
    CheckBox12->setVisible(optimize);
}

void OptionsPanel::CheckBox6Click()
{
    CheckBox12->setEnabled(!CheckBox6->isChecked());
    if (CheckBox6->isChecked())
        CheckBox12->setChecked(true);
}

void OptionsPanel::CheckBox5Click()
{
    if (CheckBox5->isChecked()) {
        CheckBox7->setEnabled(false);
        CheckBox7->setChecked(true);
        CheckBox10->setText(constantText(lang::id::RINOMINA_SOTTODIR));
        CheckBox10->setToolTip(constantText(lang::id::RINOMINA_SOTTODIR_HINT));
    } else {
        CheckBox7->setEnabled(true);
        CheckBox10->setText(constantText(lang::id::RINOMINA_FILES_IN_SOTTODIR));
        CheckBox10->setToolTip(constantText(lang::id::RINOMINA_FILES_IN_SOTTODIR_HINT));
    }
}

void OptionsPanel::ChkAttr()
{
    const bool set = RadioButton2->isChecked();
    for (QCheckBox* box : { CheckBox1, CheckBox2, CheckBox3, CheckBox4 })
        box->setEnabled(set);
}

engine::RenameOptions OptionsPanel::renameOptions() const
{
    engine::RenameOptions o;
    o.ComboBox1 = ComboBox1->currentIndex();
    o.CheckBox9 = CheckBox9->isChecked();
    o.CheckBox6 = CheckBox6->isChecked();
    o.CheckBox12 = CheckBox12->isChecked();
    o.CheckBox8 = CheckBox8->isChecked();
    o.CheckBox11 = CheckBox11->isChecked();
    o.dosnames1 = m_items.dosnames1->isChecked();
    o.HandleAccents = m_items.Gestiscilettereaccentate1->isChecked();
    o.CompactSpaces = m_items.Compattaspazivuoti1->isChecked();
    o.KeepExtDot = m_items.Noneliminaredellestensione1->isChecked();
    o.Rinominainformato831 = m_items.Rinominainformato831->isChecked();
    o.NumerazioneFiles1 = m_items.NumerazioneFiles1->isChecked();
    o.EliminaNumerazioneFiles1 = m_items.EliminaNumerazioneFiles1->isChecked();
    o.EliminaSequenzaCaratteri1 = m_items.EliminaSequenzaCaratteri1->isChecked();
    o.SostSeqCar1 = m_items.SostSeqCar1->isChecked();
    o.RinominadaFile1 = m_items.RinominadaFile1->isChecked();
    o.RinominadaCDDB1 = m_items.RinominadaCDDB1->isChecked();
    return o;
}

engine::RunScope OptionsPanel::scopeOptions() const
{
    engine::RunScope s;
    s.renameDirectories = CheckBox7->isChecked();
    s.recursive = CheckBox10->isChecked();
    s.directoriesOnly = CheckBox5->isChecked();
    s.setAttributes = RadioButton2->isChecked();
    s.readOnly = CheckBox1->isChecked();
    s.hidden = CheckBox2->isChecked();
    s.system = CheckBox3->isChecked();
    s.archive = CheckBox4->isChecked();
    return s;
}

void OptionsPanel::applyScope(const engine::RunScope& scope)
{
    const bool onlyDirectoriesChanged = CheckBox5->isChecked() != scope.directoriesOnly;
    CheckBox7->setChecked(scope.renameDirectories);
    CheckBox5->setChecked(scope.directoriesOnly);
    CheckBox10->setChecked(scope.recursive);
    // "I files nelle sottodirectory" takes its other caption only when "Solo le Directory"
    // really changed.
    if (onlyDirectoriesChanged)
        CheckBox5Click();
    // After a run the directory boxes are free again (a list mode had disabled them).
    CheckBox7->setEnabled(!scope.directoriesOnly);
    CheckBox10->setEnabled(true);
}

void OptionsPanel::applyOneRunItems(const engine::RenameOptions& options)
{
    m_items.Rinominainformato831->setChecked(options.Rinominainformato831);
    m_items.NumerazioneFiles1->setChecked(options.NumerazioneFiles1);
    m_items.EliminaNumerazioneFiles1->setChecked(options.EliminaNumerazioneFiles1);
    m_items.EliminaSequenzaCaratteri1->setChecked(options.EliminaSequenzaCaratteri1);
    m_items.SostSeqCar1->setChecked(options.SostSeqCar1);
    m_items.RinominadaFile1->setChecked(options.RinominadaFile1);
    m_items.RinominadaCDDB1->setChecked(options.RinominadaCDDB1);
}

void OptionsPanel::enableDirectoryBoxes(bool enabled)
{
    // "Solo le Directory" keeps its own hold on "Le Directory".
    CheckBox7->setEnabled(enabled && !CheckBox5->isChecked());
    CheckBox10->setEnabled(enabled);
}

void OptionsPanel::clearDirectoryBoxes()
{
    CheckBox7->setChecked(false);
    CheckBox10->setChecked(false);
}

BasicOptions OptionsPanel::basicOptions() const
{
    BasicOptions o;
    o.Ogni = CheckBox6->isChecked();
    o.Dir = CheckBox7->isChecked();
    o.Spazi = CheckBox8->isChecked();
    o.Prima = CheckBox9->isChecked();
    o.SubDir = CheckBox10->isChecked();
    o.Trattini = CheckBox11->isChecked();
    o.Solo_Trattini = CheckBox12->isChecked();
    o.Tipo_Rename = ComboBox1->currentIndex();
    o.Attributi = RadioButton1->isChecked();
    o.R = CheckBox1->isChecked();
    o.H = CheckBox2->isChecked();
    o.S = CheckBox3->isChecked();
    o.A = CheckBox4->isChecked();
    return o;
}

void OptionsPanel::applyBasicOptions(const BasicOptions& o)
{
    CheckBox6->setChecked(o.Ogni);
    CheckBox6Click();
    CheckBox7->setChecked(o.Dir);
    CheckBox8->setChecked(o.Spazi);
    CheckBox9->setChecked(o.Prima);
    CheckBox10->setChecked(o.SubDir);
    CheckBox11->setChecked(o.Trattini);
    CheckBox12->setChecked(o.Solo_Trattini);
    // A stored index outside the list keeps the current mode.
    if (o.Tipo_Rename >= 0 && o.Tipo_Rename < ComboBox1->count())
        ComboBox1->setCurrentIndex(o.Tipo_Rename);
    (o.Attributi ? RadioButton1 : RadioButton2)->setChecked(true);
    ChkAttr();
    CheckBox1->setChecked(o.R);
    CheckBox2->setChecked(o.H);
    CheckBox3->setChecked(o.S);
    CheckBox4->setChecked(o.A);
}

} // namespace quorvane::app
