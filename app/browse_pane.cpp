// The browsing side of the main window: its controls and the navigation between them.
#include "browse_pane.h"

#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "file_list_box.h"
#include "filter_combo_box.h"
#include "qt_lang_model.h"
#include "qt_text.h"
#include "slot_guard.h"

#include "engine/prompts.h"
#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"
#include "platform/volumes.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStandardPaths>
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

} // namespace

BrowsePane::BrowsePane(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
    const engine::RunState& state, QWidget* parent)
    : QWidget(parent)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_dialogs(dialogs)
    , m_state(state)
{
    createControls();
    createFileListMenu();
    createMonitor();
    connectSignals();
}

BrowsePane::~BrowsePane() = default;

void BrowsePane::createControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* pathRow = new QHBoxLayout;
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setReadOnly(true);
    rendir = named(new QToolButton(this), "rendir");
    // A command, so it is drawn as a button: a flat caption beside the path reads as a label.
    rendir->setText(QStringLiteral("Rinomina D&ir."));
    rendir->setToolTip(QStringLiteral("Rinomina la Directory corrente"));
    rendir->setAutoRaise(false);
    aggiorna = named(new QToolButton(this), "aggiorna");
    aggiorna->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    aggiorna->setToolTip(QStringLiteral("Aggiorna la lista dei Files"));
    aggiorna->setAutoRaise(true);
    pathRow->addWidget(Edit1, 1);
    pathRow->addWidget(rendir);
    pathRow->addWidget(aggiorna);
    layout->addLayout(pathRow);

    // The drive list and the filter stand over the panes they drive (see Splittabox).
    auto* filterRow = new QHBoxLayout;
    filterRow->setSpacing(0);
    DriveComboBox1 = named(new DriveComboBox(this), "DriveComboBox1");
    DriveComboBox1->setToolTip(QStringLiteral("Seleziona il disco"));
    FilterComboBox1 = named(new FilterComboBox(this), "FilterComboBox1");
    FilterComboBox1->setToolTip(QStringLiteral("Seleziona i tipi di files da rinominare"));
    filterRow->addWidget(DriveComboBox1);
    filterRow->addSpacing(4);
    filterRow->addWidget(FilterComboBox1, 1);
    layout->addLayout(filterRow);

    Panel2 = named(new QWidget(this), "Panel2");
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
    StatusPanel0 = named(new QLabel(QStringLiteral("Directory"), StatusBar1), "StatusPanel0");
    StatusPanel1 = named(new QLabel(QStringLiteral("Files"), StatusBar1), "StatusPanel1");
    StatusPanel1->setProperty(kPanelTextProperty, StatusPanel1->text());
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1);
    browsing->addWidget(Splitter1, 1);
    browsing->addWidget(StatusBar1);
    layout->addWidget(Panel2, 1);

    m_renameDirectory = new QAction(QStringLiteral("&Cambia nome a questa directory"), this);
    m_renameDirectory->setObjectName(QStringLiteral("RinominalaDirectory1"));
}

void BrowsePane::connectSignals()
{
    // Every signal is connected here once: a second connection would read the directory twice.
    const auto handle
        = [this](void (BrowsePane::*handler)()) { return guardedSlot(m_prompts, this, handler); };
    connect(DirectoryListBox1, &tDirectoryListBoxSpecial::directoryChanged, this,
        handle(&BrowsePane::DirectoryListBox1Change));
    connect(DriveComboBox1, &DriveComboBox::driveChosen, this,
        handle(&BrowsePane::DriveComboBox1Change));
    connect(
        FilterComboBox1, &QComboBox::activated, this, handle(&BrowsePane::FilterComboBox1Change));
    connect(FileListBox1, &FileListBox::listChanged, this, handle(&BrowsePane::FileListBox1Change));
    connect(FileListBox1, &FileListBox::loadingStarted, this, &BrowsePane::Aggiorna_StatusBar);
    connect(
        FileListBox1, &FileListBox::focusChanged, this, handle(&BrowsePane::FileListBox1Change));
    connect(FileListBox1, &QAbstractItemView::doubleClicked, this,
        handle(&BrowsePane::FileListBox1DblClick));
    connect(FileListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        runGuarded(m_prompts, [this, pos] { FileListBox1MouseDown(pos); });
    });
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        runGuarded(m_prompts, [this] {
            Splittabox();
            Aggiorna_StatusBar();
        });
    });
    connect(aggiorna, &QToolButton::clicked, this, handle(&BrowsePane::aggiornaClick));
    connect(SpeedButton1, &QToolButton::clicked, this, handle(&BrowsePane::SpeedButton1Click));
    connect(rendir, &QToolButton::clicked, this, handle(&BrowsePane::RinominalaDirectory1Click));
    connect(m_renameDirectory, &QAction::triggered, this,
        handle(&BrowsePane::RinominalaDirectory1Click));
    connect(Apri1, &QAction::triggered, this, handle(&BrowsePane::Apri1Click));
    connect(Rinomina1, &QAction::triggered, this, handle(&BrowsePane::FileListBox1DblClick));
    connect(Delete1, &QAction::triggered, this, handle(&BrowsePane::Delete1Click));
    connect(Propriet1, &QAction::triggered, this, handle(&BrowsePane::Propriet1Click));
}

void BrowsePane::start(const std::u32string& directory)
{
    openDirectory(directory);
    // Where changes can be watched the lists keep themselves current and the refresh
    // button goes; otherwise it stays for refreshing by hand.
    if (m_state.platformKind == engine::PlatformKind::NT) {
        aggiorna->setVisible(false);
        setMonitorActive(true);
    }
}

const std::u32string& BrowsePane::directory() const
{
    return DirectoryListBox1->directory();
}

std::u32string BrowsePane::mask() const
{
    return FilterComboBox1->mask();
}

std::vector<std::u32string> BrowsePane::selectedNames() const
{
    return FileListBox1->selectedNames();
}

void BrowsePane::clearSelection()
{
    FileListBox1->clearSelection();
}

void BrowsePane::rereadAll()
{
    DirectoryListBox1->update();
    FileListBox1->update();
    Aggiorna_StatusBar();
}

void BrowsePane::rereadFiles()
{
    FileListBox1->update();
}

void BrowsePane::showRunMessage(const QString& text)
{
    StatusBar1->showMessage(text);
}

void BrowsePane::clearRunMessage()
{
    StatusBar1->clearMessage();
}

void BrowsePane::openDirectory(const std::u32string& directory)
{
    DirectoryListBox1->setDirectory(directory);
    DirectoryListBox1Change();
}

void BrowsePane::DirectoryListBox1Change()
{
    const std::u32string directory = DirectoryListBox1->directory();
    Edit1->setText(toDisplay(directory));
    FileListBox1->setDirectory(directory);
    DriveComboBox1->setDirectory(directory);
    followWithMonitor();
    emit orderInvalidated();
    emit listModesInvalidated();
    Edit1Change();
    Aggiorna_StatusBar();
}

void BrowsePane::DriveComboBox1Change()
{
    openDirectory(DriveComboBox1->currentRoot());
}

void BrowsePane::Edit1Change()
{
    rendir->setEnabled(!platform::isRoot(platform::encodeName(DirectoryListBox1->directory())));
}

void BrowsePane::FileListBox1Change()
{
    followWithMonitor();
    emit listModesInvalidated();
    Aggiorna_StatusBar();
}

void BrowsePane::FilterComboBox1Change()
{
    if (FilterComboBox1->currentIndex() == FilterComboBox::otherIndex()) {
        const std::u32string answer
            = m_prompts
                  .input({ "ESEMPIO_MASCHERA", lang::LookupConstant(lang::id::INSERISCI_MASCHERA),
                      lang::LookupConstant(lang::id::ESEMPIO_MASCHERA), U"*.*" })
                  .value_or(U"*.*");
        if (answer.size() > 2 && answer != U"*.*") {
            FilterComboBox1->addItem(toDisplay(answer), toQt(answer));
            FilterComboBox1->setCurrentIndex(FilterComboBox1->count() - 1);
        } else {
            FilterComboBox1->setCurrentIndex(0);
        }
    }
    FileListBox1->setMask(FilterComboBox1->mask());
    emit listModesInvalidated();
    Aggiorna_StatusBar();
}

void BrowsePane::SpeedButton1Click()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // The desktop may well be a link to a directory elsewhere: follow it.
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir()) {
        m_prompts.tell({ "DESKTOP", engine::Severity::Error,
            lang::formatText(
                lang::addedText(lang::added::DESKTOP_MANCANTE), { toCore(desktop) }) });
        return;
    }
    openDirectory(platform::decodeName(QFile::encodeName(desktop).toStdString()));
}

void BrowsePane::aggiornaClick()
{
    // Without a monitor this is the only way to see what other programs changed, in the
    // subdirectories as much as among the files.
    DirectoryListBox1->update();
    FileListBox1->update();
}

void BrowsePane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Splittabox();
    Aggiorna_StatusBar();
}

void BrowsePane::Splittabox()
{
    DriveComboBox1->setFixedWidth(Panel4->width());
}

void BrowsePane::Aggiorna_StatusBar()
{
    StatusPanel0->setText(QStringLiteral(" %1 %2")
                              .arg(DirectoryListBox1->subdirectoryCount())
                              .arg(constantText(lang::id::SOTTODIRECTORY)));
    StatusPanel0->setFixedWidth(Panel4->width() + 2);
    // While a large directory is read the count would be the old list's: an ellipsis says
    // that the number is on its way.
    const QString count = FileListBox1->isLoading() ? QStringLiteral("\u2026")
                                                    : QString::number(FileListBox1->count());
    const QString files = QStringLiteral(" %1 %2").arg(count).arg(
        StatusPanel1->property(kPanelTextProperty).toString());
    StatusPanel1->setText(files);
    StatusPanel1->setFixedWidth(StatusPanel1->fontMetrics().horizontalAdvance(files) + 20);
}

} // namespace quorvane::app
