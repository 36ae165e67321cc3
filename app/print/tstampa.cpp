// The print-options window: every listing option, mirrored the moment it is clicked.
#include "tstampa.h"
#include "app/tlanguage_controller.h"

#include "listing_commands.h"

#include "app/qt_text.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace quorvane::app {

TStampa::TStampa(ListingCommands& commands, engine::ListingSource source, QWidget* parent)
    : QDialog(parent)
    , m_commands(commands)
    , m_source(std::move(source))
{
    setObjectName(QStringLiteral("Stampa"));
    setWindowTitle(QStringLiteral("Opzioni di stampa"));
    createControls();
    // The window is made for each showing, so this is "when it becomes visible": the
    // print dialog's text-file box starts from the option again.
    m_commands.setPrintToFileBox(m_commands.options().PrintToTextFile);
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "Stampa");
}

QCheckBox* TStampa::optionBox(
    const char* name, const QString& caption, bool engine::ListingOptions::*option)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(m_commands.options().*option);
    connect(box, &QCheckBox::toggled, this,
        [this, option](bool checked) { m_commands.options().*option = checked; });
    return box;
}

void TStampa::createControls()
{
    using engine::ListingOptions;
    CheckBox2 = optionBox(
        "CheckBox2", QStringLiteral("Stampa Titolo Pagina"), &ListingOptions::PrintTitle);
    CheckBox2->setToolTip(
        QStringLiteral("Mette la seguente stringa all'inizio della pagina stampata"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setText(toQt(m_commands.options().PrintTitleText));
    Edit1->setVisible(CheckBox2->isChecked());
    // The row keeps its height while the field is hidden, so the boxes below stay put.
    QSizePolicy keep = Edit1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Edit1->setSizePolicy(keep);
    connect(CheckBox2, &QCheckBox::toggled, Edit1, &QLineEdit::setVisible);
    connect(Edit1, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_commands.options().PrintTitleText = toCore(text); });

    CheckBox3 = optionBox("CheckBox3",
        QStringLiteral("Stampa intestazione (nome directory) prima dell'elenco di files"),
        &ListingOptions::PrintHeading);
    CheckBox4 = optionBox("CheckBox4", QStringLiteral("Stampa Totale numero Files/Directory"),
        &ListingOptions::PrintTotals);
    CheckBox5 = optionBox("CheckBox5", QStringLiteral("Stampa contenuto Sottodirectory"),
        &ListingOptions::PrintSubdirs);
    CheckBox6 = optionBox("CheckBox6",
        QStringLiteral("Stampa il nome delle Sottodirectory all'interno dell'elenco di Files"),
        &ListingOptions::PrintDirNames);
    CheckBox7 = optionBox(
        "CheckBox7", QStringLiteral("Stampa Dimensioni Files"), &ListingOptions::PrintSizes);
    CheckBox8 = optionBox(
        "CheckBox8", QStringLiteral("Stampa Data/Ora Files"), &ListingOptions::PrintDates);
    CheckBox9 = optionBox(
        "CheckBox9", QStringLiteral("Stampa Attributi Files"), &ListingOptions::PrintAttributes);
    CheckBox12 = optionBox("CheckBox12", QStringLiteral("Stampa estensione del file"),
        &ListingOptions::PrintExtensions);
    CheckBox10 = optionBox(
        "CheckBox10", QStringLiteral("Stampa su File di testo"), &ListingOptions::PrintToTextFile);
    connect(CheckBox10, &QCheckBox::clicked, this, &TStampa::CheckBox10Click);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    CheckBox1 = new QCheckBox(
        QStringLiteral("Visualizza solo caratteri con larghezza fissa (non proporzionali)"), panel);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    CheckBox1->setToolTip(QStringLiteral("Quando selezionata permette di scegliere caratteri "
                                         "che mantengono l'allineamento delle varie colonne"));
    BitBtn2 = new QPushButton(QStringLiteral("Imposta Carattere"), panel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(CheckBox1, 1);
    panelLayout->addWidget(BitBtn2);

    BitBtn5 = new QPushButton(QStringLiteral("Anteprima"), this);
    BitBtn5->setObjectName(QStringLiteral("BitBtn5"));
    BitBtn5->setToolTip(QStringLiteral("Anteprima della stampa in notepad"));
    BitBtn1 = new QPushButton(QStringLiteral("Imposta Stampante"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("Seleziona e configura la stampante"));
    BitBtn3 = new QPushButton(QStringLiteral("Stampa"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    Button1 = new QPushButton(QStringLiteral("Chiudi"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(CheckBox2);
    titleRow->addWidget(Edit1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : { BitBtn5, BitBtn1, BitBtn3, Button1 })
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titleRow);
    for (QCheckBox* box : { CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8,
             CheckBox9, CheckBox12, CheckBox10 })
        layout->addWidget(box);
    layout->addWidget(panel);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BitBtn1, &QPushButton::clicked, this, &TStampa::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TStampa::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TStampa::BitBtn3Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn5, &QPushButton::clicked, this, &TStampa::BitBtn5Click);
}

void TStampa::CheckBox10Click()
{
    m_commands.setPrintToFileBox(CheckBox10->isChecked());
}

void TStampa::BitBtn1Click()
{
    m_commands.printerSetup();
}

void TStampa::BitBtn2Click()
{
    m_commands.chooseFont(CheckBox1->isChecked());
}

void TStampa::BitBtn3Click()
{
    // Once the print dialog has been confirmed the options have served; the window closes
    // even when a save dialog was then cancelled. A text file alone is asked for by the
    // save dialog: cancelling that one leaves the options open.
    if (m_commands.print(m_source))
        accept();
}

void TStampa::BitBtn5Click()
{
    if (m_commands.preview(m_source))
        accept();
}

} // namespace quorvane::app
