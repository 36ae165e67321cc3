// The main window: its parts, menus and layout, start-up and exit.
#include "tform1.h"

#include "about/taboutbox.h"
#include "browse_pane.h"
#include "file_dialog_texts.h"
#include "history/history_commands.h"

#include "engine/run_observer.h"
#include "modes/mode_commands.h"
#include "print/listing_commands.h"
#include "run_controller.h"
#include "slot_guard.h"
#include "title_fitter.h"
#include "update/update_check.h"
#include "update_status.h"

#include "platform/platform_kind.h"

#include <quorvane_version.h>

#include <QAction>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

namespace quorvane::app {

TForm1::TForm1(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
    const std::u32string& startDirectory, SettingsStore* settings, QWidget* parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_dialogs(dialogs)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("Form1"));
    // Every window shown while this one lives holds its whole title.
    QCoreApplication::instance()->installEventFilter(new TitleFitter(this));
    createParts();
    connectParts();
    connectHelp();
    // The window's texts as built are its Italian defaults, recorded before FormCreate.
    createLanguageController();
    FormCreate(startDirectory);
}

TForm1::~TForm1() = default;

void TForm1::connectHelp()
{
    m_updateStatus = new UpdateStatus(m_prompts, *m_browse, *checkUpdate, this);
    // The check waits on the network in the event loop: the window stays responsive, and
    // the menu item waits until the check is done.
    connect(checkUpdate, &QAction::triggered, m_updateStatus,
        [this] { m_updateStatus->start(update::UpdateTrigger::Manual); });
    connect(About1, &QAction::triggered, this, guardedSlot(m_prompts, this, &TForm1::About1Click));
    connect(CronologiaOperazioni1, &QAction::triggered, this,
        guardedSlot(m_prompts, this, &TForm1::CronologiaOperazioni1Click));
    connect(m_run, &RunController::aboutRequested, this,
        guardedSlot(m_prompts, this, &TForm1::About1Click));
}

void TForm1::CronologiaOperazioni1Click()
{
    engine::RunObserver quiet;
    showRunHistory(
        m_dialogs, m_fs, m_prompts, quiet, this, [this] { m_browse->setMonitorActive(false); },
        [this] {
            m_browse->rereadAll();
            m_browse->setMonitorActive(true);
        });
}

void TForm1::checkInterruptedRunAtStart()
{
    engine::RunObserver quiet;
    (void)checkInterruptedRun(
        m_fs, m_prompts, quiet, [this] { m_browse->setMonitorActive(false); },
        [this] {
            m_browse->rereadAll();
            m_browse->setMonitorActive(true);
        });
}

void TForm1::About1Click()
{
    about::showAboutBox(this, m_dialogs);
}

void TForm1::connectListing()
{
    // The listing covers what the window shows: the tree's directory and the filter's mask.
    const auto listing = [this](void (ListingCommands::*command)(const engine::ListingSource&)) {
        return [this, command] {
            runGuarded(m_prompts, [this, command] {
                ((*m_listing).*command)({ m_browse->directory(), m_browse->mask() });
            });
        };
    };
    connect(N6, &QAction::triggered, this, listing(&ListingCommands::N6Click));
    connect(AnteprimadiStampa1, &QAction::triggered, this,
        listing(&ListingCommands::AnteprimadiStampa1Click));
    connect(Stampa1, &QAction::triggered, this, listing(&ListingCommands::Stampa1Click));
}

void TForm1::createParts()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    m_browse = new BrowsePane(m_prompts, m_fs, m_dialogs, m_state, central);
    createMenus();
    m_options = new OptionsPanel(m_prompts, m_items, central);
    m_run = new RunController(m_prompts, m_fs, m_dialogs, m_state, *m_options, *m_browse, central);
    m_modes
        = new ModeCommands(m_prompts, m_fs, m_dialogs, m_state, m_items, *m_options, *m_run, *this);
    // The file dialogs are made when they open; their texts live on the window, which
    // translates them with its own.
    new FileDialogTexts(FileDialogTexts::Which::OpenDialog1, this);
    new FileDialogTexts(FileDialogTexts::Which::SaveDialog1, this);

    // The option column stands at the right edge, the buttons at the bottom right.
    auto* mainLayout = new QHBoxLayout(central);
    mainLayout->setContentsMargins(4, 4, 4, 4);
    mainLayout->addWidget(m_browse, 1);
    auto* right = new QVBoxLayout;
    mainLayout->addLayout(right);
    right->addWidget(m_options);
    right->addStretch(1);
    right->addWidget(m_run);
    setMinimumSize(640, 480);
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
    OptionItems& o = m_items;
    QMenu* avanzate = menuBar()->addMenu(QStringLiteral("&Avanzate"));
    avanzate->setObjectName(QStringLiteral("Avanzate1"));
    avanzate->addAction(m_browse->renameDirectoryAction());
    avanzate->addSeparator();
    o.Rinominainformato831
        = item(avanzate, "Rinominainformato831", "Rinomina in formato &8.3", true);
    avanzate->addSeparator();
    // The special modes arm themselves through their dialogs (ModeCommands).
    o.NumerazioneFiles1 = item(avanzate, "NumerazioneFiles1", "&Numerazione Files");
    o.EliminaNumerazioneFiles1
        = item(avanzate, "EliminaNumerazioneFiles1", "&Elimina Numerazione Files");
    avanzate->addSeparator();
    o.SostSeqCar1 = item(avanzate, "SostSeqCar1", "&Sostituisci Sequenza Caratteri");
    o.EliminaSequenzaCaratteri1
        = item(avanzate, "EliminaSequenzaCaratteri1", "Elimina Se&quenza Caratteri");
    avanzate->addSeparator();
    o.RinominadaFile1 = item(avanzate, "RinominadaFile1", "Rinomina da &File");
    o.RinominadaCDDB1 = item(avanzate, "RinominadaCDDB1", "Rinomina da C&DPlayer DB");
    avanzate->addSeparator();
    N6 = item(avanzate, "N6", "&Opzioni Stampa");
    AnteprimadiStampa1 = item(avanzate, "AnteprimadiStampa1", "&Anteprima di Stampa");
    Stampa1 = item(avanzate, "Stampa1", "Stam&pa");
    avanzate->addSeparator();
    CronologiaOperazioni1 = avanzate->addAction(historyMenuCaption());
    CronologiaOperazioni1->setObjectName(QStringLiteral("CronologiaOperazioni1"));

    QMenu* opzioni = menuBar()->addMenu(QStringLiteral("&Opzioni"));
    opzioni->setObjectName(QStringLiteral("Impostazioni1"));
    o.Gestiscilettereaccentate1
        = item(opzioni, "Gestiscilettereaccentate1", "Gestisci lettere &accentate", true);
    o.dosnames1 = item(opzioni, "dosnames1", "Compatibilità &DOS", true);
    o.Compattaspazivuoti1 = item(opzioni, "Compattaspazivuoti1", "Compatta spazi &vuoti", true);
    o.Noneliminaredellestensione1
        = item(opzioni, "Noneliminaredellestensione1", "Non eliminare '.' dell'&estensione", true);
    o.Noneliminaredellestensione1->setChecked(true);
    opzioni->addSeparator();
    Lingua1 = item(opzioni, "Lingua1", "&Lingua / Language");
    opzioni->addSeparator();
    Impostazioni2 = item(opzioni, "Impostazioni2", "&Salva Impostazioni");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    checkUpdate = item(help, "checkUpdate", "&Cerca aggiornamenti");
    About1 = item(help, "About1", "&About");
}

void TForm1::connectParts()
{
    connect(m_browse, &BrowsePane::orderInvalidated, m_modes, &ModeCommands::disarmCustomOrder);
    connect(m_browse, &BrowsePane::listModesInvalidated, m_modes, &ModeCommands::disarmListModes);
    connect(m_browse, &BrowsePane::undoInvalidated, m_run, &RunController::disableUndo);
    connect(m_run, &RunController::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_modes, &ModeCommands::cdPlayerIniChosen, this,
        [this](const QString& path) { m_settingsFlags.CdPlayerIniPath = path; });
    connect(m_items.dosnames1, &QAction::toggled, m_browse, &BrowsePane::setDosNames);
    connect(Impostazioni2, &QAction::triggered, this,
        guardedSlot(m_prompts, this, &TForm1::Impostazioni2Click));
    connect(
        Lingua1, &QAction::triggered, this, guardedSlot(m_prompts, this, &TForm1::Lingua1Click));
}

void TForm1::FormCreate(const std::u32string& startDirectory)
{
    runGuarded(m_prompts, [this] { findLanguages(); });
    m_settingsFlags.AutoCheckUpdate = false;
    chooseLanguageOnFirstRun();
    askAutoCheck();
    m_state.NumStart = 1;
    m_state.NumStep = 1;
    m_state.NumDigits = 2;
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    m_state.platformKind = platform::directoryNotificationAvailable() ? engine::PlatformKind::NT
                                                                      : engine::PlatformKind::Win9x;

    ListingFont = QFont(QStringLiteral("Fixedsys"), 9);
    ListingFont.setFixedPitch(true);
    if (!QFontDatabase::hasFamily(QStringLiteral("Fixedsys"))) {
        ListingFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        ListingFont.setPointSize(9);
    }
    m_listing = std::make_unique<ListingCommands>(*this, m_prompts, m_fs, m_dialogs, ListingFont);
    connectListing();
    m_browse->start(startDirectory);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    const bool first = !m_shown;
    if (first) {
        m_shown = true;
        readSettings();
        runGuarded(m_prompts, [this] { putStoredLanguageInForce(); });
    }
    m_options->FormShow();
    m_browse->Splittabox();
    m_browse->Aggiorna_StatusBar();
    if (first)
        afterFirstPaint();
}

void TForm1::afterFirstPaint()
{
    // After the first paint, never before it: neither the question about an unfinished run
    // nor the update check may hold the window up. The question comes first, before the
    // user can start a run; only the program itself (with its settings) asks it.
    auto* afterPaint = new QTimer(this);
    afterPaint->setSingleShot(true);
    if (m_settings != nullptr) {
        connect(afterPaint, &QTimer::timeout, this,
            guardedSlot(m_prompts, this, &TForm1::checkInterruptedRunAtStart));
    }
    if (m_settingsFlags.AutoCheckUpdate)
        connect(afterPaint, &QTimer::timeout, m_updateStatus,
            [this] { m_updateStatus->start(update::UpdateTrigger::Automatic); });
    connect(afterPaint, &QTimer::timeout, afterPaint, &QObject::deleteLater);
    afterPaint->start(0);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    keepRestoredFrame();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    keepRestoredFrame();
}

void TForm1::FormClose()
{
    // The listing preview and the album titles are kept in memory, never as files under
    // fixed names in the shared temporary directory: there is nothing to delete here.
    writeSettingsAtExit();
}

} // namespace quorvane::app
