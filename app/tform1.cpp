// The main window: its controls, menus and layout, start-up and exit.
#include "tform1.h"

#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "file_list_box.h"
#include "filter_combo_box.h"
#include "qt_text.h"
#include "run_progress.h"

#include "platform/platform_kind.h"
#include "platform/volumes.h"

#include <quorvane_version.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvane::app {

namespace {

template<typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

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
    auto* box = named(new QCheckBox(QString::fromUtf8(caption), parent), name);
    box->setToolTip(QString::fromUtf8(hint));
    box->setChecked(checked);
    return box;
}

} // namespace

TForm1::TForm1(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
    const std::u32string& startDirectory, QWidget* parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    createControls();
    m_progress = std::make_unique<RunProgress>(*BitBtn1, *FileListBox1, *StatusBar1);
    createMenus();
    createFileListMenu();
    createMonitor();
    connectSignals();
    connectFileListSignals();
    FormCreate(startDirectory);
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* mainLayout = new QHBoxLayout(central);
    mainLayout->setContentsMargins(4, 4, 4, 4);
    auto* left = new QVBoxLayout;
    mainLayout->addLayout(left, 1);

    auto* pathRow = new QHBoxLayout;
    Edit1 = named(new QLineEdit(central), "Edit1");
    Edit1->setReadOnly(true);
    rendir = named(new QToolButton(central), "rendir");
    // A command, so it is drawn as a button: a flat caption beside the path reads as a label.
    rendir->setText(QStringLiteral("Rinomina D&ir."));
    rendir->setToolTip(QStringLiteral("Rinomina la Directory corrente"));
    rendir->setAutoRaise(false);
    aggiorna = named(new QToolButton(central), "aggiorna");
    aggiorna->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    aggiorna->setToolTip(QStringLiteral("Aggiorna la lista dei Files"));
    aggiorna->setAutoRaise(true);
    pathRow->addWidget(Edit1, 1);
    pathRow->addWidget(rendir);
    pathRow->addWidget(aggiorna);
    left->addLayout(pathRow);

    // The drive list and the filter stand over the panes they drive (see Splittabox).
    auto* filterRow = new QHBoxLayout;
    filterRow->setSpacing(0);
    DriveComboBox1 = named(new DriveComboBox(central), "DriveComboBox1");
    DriveComboBox1->setToolTip(QStringLiteral("Seleziona il disco"));
    FilterComboBox1 = named(new FilterComboBox(central), "FilterComboBox1");
    FilterComboBox1->setToolTip(QStringLiteral("Seleziona i tipi di files da rinominare"));
    filterRow->addWidget(DriveComboBox1);
    filterRow->addSpacing(4);
    filterRow->addWidget(FilterComboBox1, 1);
    left->addLayout(filterRow);

    Panel2 = named(new QWidget(central), "Panel2");
    auto* browsing = new QVBoxLayout(Panel2);
    browsing->setContentsMargins(0, 0, 0, 0);
    browsing->setSpacing(0);
    Splitter1 = named(new QSplitter(Qt::Horizontal, Panel2), "Splitter1");
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);
    Panel4 = named(new QWidget(Splitter1), "Panel4");
    auto* tree = new QVBoxLayout(Panel4);
    tree->setContentsMargins(0, 0, 0, 0);
    tree->setSpacing(2);
    SpeedButton1 = named(new QToolButton(Panel4), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("&Desktop"));
    SpeedButton1->setAutoRaise(false);
    DirectoryListBox1 = named(new tDirectoryListBoxSpecial(m_fs, Panel4), "DirectoryListBox1");
    DirectoryListBox1->setToolTip(QStringLiteral("Seleziona la directory"));
    tree->addWidget(SpeedButton1, 0, Qt::AlignLeft);
    tree->addWidget(DirectoryListBox1, 1);
    FileListBox1 = named(new FileListBox(m_fs, Splitter1), "FileListBox1");
    FileListBox1->setToolTip(QStringLiteral("Premendo il tasto destro del mouse su un file, "
                                            "puoi effetuare alcune operazioni"));
    Panel4->setMinimumWidth(100);
    FileListBox1->setMinimumWidth(100);
    Splitter1->addWidget(Panel4);
    Splitter1->addWidget(FileListBox1);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ 185, 300 });
    StatusBar1 = named(new QStatusBar(Panel2), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(QStringLiteral("Directory"), StatusBar1);
    StatusPanel1 = new QLabel(QStringLiteral("Files"), StatusBar1);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1);
    browsing->addWidget(Splitter1, 1);
    browsing->addWidget(StatusBar1);
    left->addWidget(Panel2, 1);

    // The option column stands at the right edge, the buttons at the bottom right.
    auto* right = new QVBoxLayout;
    mainLayout->addLayout(right);
    createOptionColumn();
    createButtonColumn();
    right->addWidget(Panel1);
    right->addStretch(1);
    right->addWidget(Panel3);
    setMinimumSize(640, 480);
}

void TForm1::createOptionColumn()
{
    Panel1 = named(new QFrame(centralWidget()), "Panel1");
    Panel1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);

    RadioButton1 = named(
        new QRadioButton(QStringLiteral("Non modificare gli Attributi"), Panel1), "RadioButton1");
    RadioButton1->setToolTip(QStringLiteral("Lascia invariati gli attributi dei file"));
    RadioButton2
        = named(new QRadioButton(QStringLiteral("Modifica gli Attributi"), Panel1), "RadioButton2");
    RadioButton2->setToolTip(QStringLiteral("Imposta gli attributi come specificato"));
    CheckBox1 = checkBox(Panel1, "CheckBox1", "Read Only", "", false);
    CheckBox2 = checkBox(Panel1, "CheckBox2", "Hidden", "", false);
    CheckBox3 = checkBox(Panel1, "CheckBox3", "System", "", false);
    CheckBox4 = checkBox(Panel1, "CheckBox4", "Archive", "", false);
    auto* attributes = new QGridLayout;
    attributes->setContentsMargins(12, 0, 0, 0);
    attributes->addWidget(CheckBox1, 0, 0);
    attributes->addWidget(CheckBox3, 0, 1);
    attributes->addWidget(CheckBox2, 1, 0);
    attributes->addWidget(CheckBox4, 1, 1);
    column->addWidget(RadioButton1);
    column->addWidget(RadioButton2);
    column->addLayout(attributes);
    column->addWidget(horizontalRule(Panel1));

    Label1 = named(new QLabel(QStringLiteral("Rinomina:"), Panel1), "Label1");
    CheckBox7 = checkBox(Panel1, "CheckBox7", "Le Directory", "Rinomina anche le Directory", true);
    CheckBox5 = checkBox(Panel1, "CheckBox5", "Solo le Directory",
        "Rinomina SOLO le Directory, e non i files contenuti", false);
    CheckBox10 = checkBox(Panel1, "CheckBox10", "I files nelle Sottodirectory",
        "Rinomina ricorsivamente tutti i files nelle sottodirectory", false);
    column->addWidget(Label1);
    column->addWidget(CheckBox7);
    column->addWidget(CheckBox5);
    column->addWidget(CheckBox10);
    column->addWidget(horizontalRule(Panel1));

    ComboBox1 = named(new QComboBox(Panel1), "ComboBox1");
    ComboBox1->addItems(
        { QStringLiteral("Non ottimizzare maiuscole"), QStringLiteral("Ottimizza Maiuscole"),
            QStringLiteral("TUTTO MAIUSCOLO"), QStringLiteral("tutto minuscolo") });
    ComboBox1->setToolTip(QStringLiteral("Seleziona il tipo di Ottimizzazione delle Maiuscole"));
    CheckBox9 = checkBox(Panel1, "CheckBox9", "Converti la 1° lettera in maiuscolo",
        "Deselezionata, la prima lettera diverra' minuscola", true);
    CheckBox6 = checkBox(Panel1, "CheckBox6", "Maiuscola dopo ogni spazio",
        "e dopo un aperta parentesi tonda", true);
    CheckBox12 = checkBox(Panel1, "CheckBox12", "Maiuscola dopo ogni trattino",
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
    column->addWidget(ComboBox1);
    column->addLayout(capitals);
    column->addWidget(horizontalRule(Panel1));

    CheckBox8 = checkBox(Panel1, "CheckBox8", "Converti i trattini \"_\" in spazi",
        "Converte gli Underscore \"_\" in spazi vuoti", false);
    CheckBox11 = checkBox(Panel1, "CheckBox11", "Espandi i trattini \"-\"",
        R"(Mette due spazi ai lati di un trattino "-" (-> " - "))", false);
    column->addWidget(CheckBox8);
    column->addWidget(CheckBox11);
}

void TForm1::createButtonColumn()
{
    Panel3 = named(new QWidget(centralWidget()), "Panel3");
    auto* column = new QVBoxLayout(Panel3);
    column->setContentsMargins(3, 4, 3, 4);
    const auto button = [this](const char* name, const char* caption, const char* hint) {
        auto* b = named(new QPushButton(QString::fromUtf8(caption), Panel3), name);
        b->setToolTip(QString::fromUtf8(hint));
        return b;
    };
    BitBtn4
        = button("BitBtn4", "Anteprima", "Mostra un'anteprima di come verranno modificati i files");
    BitBtn1 = button("BitBtn1", "Rinomina", "Rinomina i file secondo i criteri scelti");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setMinimumHeight(44);
    BitBtn3 = button("BitBtn3", "Annulla",
        "UNDO. ATTENZIONE: non ripristina gli attributi se son stati modificati");
    BitBtn3->setEnabled(false);
    BitBtn2 = button("BitBtn2", "About", "Chi ha fatto questo bel programma ? :-)");
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    for (QPushButton* b : { BitBtn4, BitBtn1, BitBtn3, BitBtn2 })
        column->addWidget(b);
}

void TForm1::createMenus()
{
    const auto item
        = [](QMenu* menu, const char* name, const char* caption, bool checkable = false) {
              QAction* action = menu->addAction(QString::fromUtf8(caption));
              action->setObjectName(QString::fromLatin1(name));
              action->setCheckable(checkable);
              return action;
          };
    QMenu* avanzate = menuBar()->addMenu(QStringLiteral("&Avanzate"));
    RinominalaDirectory1
        = item(avanzate, "RinominalaDirectory1", "&Cambia nome a questa directory");
    avanzate->addSeparator();
    Rinominainformato831 = item(avanzate, "Rinominainformato831", "Rinomina in formato &8.3", true);
    avanzate->addSeparator();
    // The special modes arm themselves through their dialogs; until those exist the items
    // cannot be checked, so no run ever applies a mode that has no parameters.
    NumerazioneFiles1 = item(avanzate, "NumerazioneFiles1", "&Numerazione Files");
    EliminaNumerazioneFiles1
        = item(avanzate, "EliminaNumerazioneFiles1", "&Elimina Numerazione Files");
    avanzate->addSeparator();
    SostSeqCar1 = item(avanzate, "SostSeqCar1", "&Sostituisci Sequenza Caratteri");
    EliminaSequenzaCaratteri1
        = item(avanzate, "EliminaSequenzaCaratteri1", "Elimina Se&quenza Caratteri");
    avanzate->addSeparator();
    RinominadaFile1 = item(avanzate, "RinominadaFile1", "Rinomina da &File");
    RinominadaCDDB1 = item(avanzate, "RinominadaCDDB1", "Rinomina da C&DPlayer DB");
    avanzate->addSeparator();
    N6 = item(avanzate, "N6", "&Opzioni Stampa");
    AnteprimadiStampa1 = item(avanzate, "AnteprimadiStampa1", "&Anteprima di Stampa");
    Stampa1 = item(avanzate, "Stampa1", "Stam&pa");

    QMenu* opzioni = menuBar()->addMenu(QStringLiteral("&Opzioni"));
    Gestiscilettereaccentate1
        = item(opzioni, "Gestiscilettereaccentate1", "Gestisci lettere &accentate", true);
    dosnames1 = item(opzioni, "dosnames1", "Compatibilità &DOS", true);
    Compattaspazivuoti1 = item(opzioni, "Compattaspazivuoti1", "Compatta spazi &vuoti", true);
    Noneliminaredellestensione1
        = item(opzioni, "Noneliminaredellestensione1", "Non eliminare '.' dell'&estensione", true);
    Noneliminaredellestensione1->setChecked(true);
    opzioni->addSeparator();
    Lingua1 = item(opzioni, "Lingua1", "&Lingua / Language");
    opzioni->addSeparator();
    Impostazioni2 = item(opzioni, "Impostazioni2", "&Salva Impostazioni");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    checkUpdate = item(help, "checkUpdate", "&Cerca aggiornamenti");
    About1 = item(help, "About1", "&About");
}

void TForm1::FormCreate(const std::u32string& startDirectory)
{
    m_state.NumStart = 1;
    m_state.NumStep = 1;
    m_state.NumDigits = 2;
    RadioButton1->setChecked(true);
    ChkAttr();
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    ComboBox1->setCurrentIndex(1);
    m_state.platformKind = platform::directoryNotificationAvailable() ? engine::PlatformKind::NT
                                                                      : engine::PlatformKind::Win9x;

    ListingFont = QFont(QStringLiteral("Fixedsys"), 9);
    ListingFont.setFixedPitch(true);
    if (!QFontDatabase::hasFamily(QStringLiteral("Fixedsys"))) {
        ListingFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        ListingFont.setPointSize(9);
    }

    DirectoryListBox1->setDirectory(startDirectory);
    DirectoryListBox1Change();
    // Where changes can be watched the lists keep themselves current and the refresh
    // button goes; otherwise it stays for refreshing by hand.
    if (m_state.platformKind == engine::PlatformKind::NT) {
        aggiorna->setVisible(false);
        setMonitorActive(true);
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (CheckBox6->isChecked()) {
        CheckBox12->setEnabled(false);
        CheckBox12->setChecked(true);
    }
    ComboBox1Change();
    Splittabox();
    Aggiorna_StatusBar();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::FormClose()
{
    // Left by the listing preview and the track list; a missing file is no error.
    const QString temp = QString::fromStdString(platform::tempDirectory());
    QFile::remove(temp + QStringLiteral("/quorvane.prn"));
    QFile::remove(temp + QStringLiteral("/quorvane.tmp"));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Splittabox();
    Aggiorna_StatusBar();
}

void TForm1::Splittabox()
{
    DriveComboBox1->setFixedWidth(Panel4->width());
}

void TForm1::Aggiorna_StatusBar()
{
    StatusPanel0->setText(QStringLiteral(" %1 %2")
                              .arg(DirectoryListBox1->subdirectoryCount())
                              .arg(constantText(lang::id::SOTTODIRECTORY)));
    StatusPanel0->setFixedWidth(Panel4->width() + 2);
    const QString files = QStringLiteral(" %1 Files").arg(FileListBox1->count());
    StatusPanel1->setText(files);
    StatusPanel1->setFixedWidth(StatusPanel1->fontMetrics().horizontalAdvance(files) + 20);
}

} // namespace quorvane::app
