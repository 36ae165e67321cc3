// The save-settings dialog.
#include "tavanzate.h"
#include "app/tlanguage_controller.h"

#include "app/qt_text.h"

#include "engine/prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvane::app {

TAvanzate::TAvanzate(SettingsFlags& flags, SettingsStore& store, std::function<void()> saveNow,
    engine::Prompts& prompts, QWidget* parent)
    : QDialog(parent)
    , m_flags(flags)
    , m_store(store)
    , m_saveNow(std::move(saveNow))
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("Avanzate"));
    setWindowTitle(QStringLiteral("Salva Impostazioni"));
    createControls();
    FormShow();
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "Avanzate");
}

QCheckBox* TAvanzate::flagBox(
    const char* name, const char* caption, const char* hint, bool SettingsFlags::*flag)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), this);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(QString::fromUtf8(hint));
    // In force the moment it is clicked: the dialog has no cancel.
    connect(box, &QCheckBox::toggled, this, [this, flag](bool on) { m_flags.*flag = on; });
    return box;
}

void TAvanzate::createControls()
{
    const auto radio = [this](const char* name, const char* caption, const char* hint) {
        auto* button = new QRadioButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(QString::fromUtf8(hint));
        connect(button, &QRadioButton::clicked, this, &TAvanzate::UpdateSaveControls);
        return button;
    };
    RadioButton1 = radio(
        "RadioButton1", "Non salvare Impostazioni", "Disattiva il salvataggio delle opzioni");
    RadioButton2 = radio(
        "RadioButton2", "Salva Impostazioni", "Attiva il salvataggio delle opzioni nel registro");
    CheckBox2 = flagBox("CheckBox2", "Salva impostazioni in uscita",
        "Salva le impostazioni alla chiusura del programma", &SettingsFlags::SaveOnExit);
    CheckBox3 = flagBox("CheckBox3", "Salva posizione finestra principale",
        "Salva le dimensioni e la posizione della finestra", &SettingsFlags::SaveWindow);
    CheckBox4 = flagBox("CheckBox4", "Salva opzioni base",
        "Salva le opzioni di base presenti nella finestra principale",
        &SettingsFlags::SaveBasicOptions);
    CheckBox5 = flagBox("CheckBox5", "Salva opzioni avanzate",
        "Salva le impostazioni Avanzate, in questa finestra", &SettingsFlags::SaveAdvancedOptions);
    CheckBox7 = flagBox("CheckBox7", "Salva opzioni di stampa", "Salva le opzioni di stampa",
        &SettingsFlags::SavePrintOptions);
    CheckBox6 = flagBox("CheckBox6", "Salva directory di lavoro", "Salva la directory di lavoro",
        &SettingsFlags::SaveDirectory);
    CheckBox1 = flagBox("CheckBox1", "Salva posizione di CDPlayer.ini ",
        "Salva il percorso del file cdplayer.ini", &SettingsFlags::SaveCdPlayerPath);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(231);
    connect(Edit1, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_flags.CdPlayerIniPath = text; });
    CheckBox8 = flagBox("CheckBox8",
        "All'avvio di Quorvane controlla automaticamente su Internet la presenza di "
        "aggiornamenti",
        "Controlla automaticamente all'avvio di Quorvane se sono state rilasciate nuove "
        "versioni",
        &SettingsFlags::AutoCheckUpdate);

    const auto button = [this](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setAutoDefault(false);
        b->setMinimumHeight(31);
        return b;
    };
    Button1 = button("Button1", "Salva adesso", "Memorizza le impostazioni in questo momento");
    Button2 = button("Button2", "Rimuovi Impostazioni dal registro",
        "Elimina ogni tipo di impostazione, pulendo il registro di windows");
    QPushButton* ok = button("OKBtn", "OK", "");
    ok->setMinimumWidth(153);
    ok->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TAvanzate::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TAvanzate::Button2Click);
    // OK is both the default and the cancel button: every change is already made.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* switches = new QGridLayout;
    switches->setContentsMargins(19, 0, 0, 0);
    int row = 0;
    for (QCheckBox* box : { CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox7, CheckBox6 })
        switches->addWidget(box, row++, 0, 1, 2);
    switches->addWidget(CheckBox1, row, 0);
    switches->addWidget(Edit1, row, 1);
    switches->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioButton1);
    layout->addWidget(RadioButton2);
    layout->addLayout(switches);
    layout->addSpacing(12);
    layout->addWidget(CheckBox8);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(512, 290);
}

void TAvanzate::FormShow()
{
    // Shown as they stand; the flags are written only by the user's own clicks afterwards.
    const SettingsFlags current = m_flags;
    CheckBox8->setChecked(current.AutoCheckUpdate);
    Button2->setEnabled(m_store.keyExists());
    CheckBox1->setChecked(current.SaveCdPlayerPath);
    CheckBox2->setChecked(current.SaveOnExit);
    CheckBox3->setChecked(current.SaveWindow);
    CheckBox4->setChecked(current.SaveBasicOptions);
    CheckBox5->setChecked(current.SaveAdvancedOptions);
    CheckBox6->setChecked(current.SaveDirectory);
    CheckBox7->setChecked(current.SavePrintOptions);
    (current.SettingsEnabled ? RadioButton2 : RadioButton1)->setChecked(true);
    Edit1->setText(current.CdPlayerIniPath);
    UpdateSaveControls();
}

void TAvanzate::UpdateSaveControls()
{
    const bool enabled = !RadioButton1->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*> { CheckBox1, CheckBox2, CheckBox3,
             CheckBox4, CheckBox5, CheckBox6, CheckBox7, Button1, Edit1 })
        control->setEnabled(enabled);
    m_flags.SettingsEnabled = enabled;
}

void TAvanzate::Button1Click()
{
    m_saveNow();
    Button2->setEnabled(m_store.keyExists());
}

void TAvanzate::Button2Click()
{
    removeStoredSettings(m_store);
    if (const QString failed = m_store.sync(); !failed.isEmpty())
        m_prompts.tell({ "SETTINGS", engine::Severity::Error, toCore(failed) });
    Button2->setEnabled(false);
    m_flags.SettingsEnabled = false;
    RadioButton1->setChecked(true);
    UpdateSaveControls();
}

} // namespace quorvane::app
