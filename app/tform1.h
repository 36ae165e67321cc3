// The main window: browsing, the rename options, and the run, undo and preview buttons.
#pragma once

#include "engine/prompts.h"
#include "engine/rename_options.h"
#include "engine/run_scope.h"
#include "engine/run_state.h"
#include "platform/collator.h"
#include "platform/file_system.h"

#include <QFont>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPoint;
class QTimer;
class QPushButton;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QToolButton;
class QWidget;

namespace quorvane::app {

class DialogHost;
class DriveComboBox;
class FileListBox;
class FilterComboBox;
class RunProgress;
class tDirectoryListBoxSpecial;
class TDirMon;

/// The program's single main window. It owns the option controls, the run state and the
/// undo log; questions go through `prompts`, disk work through `fs`, dialogs through
/// `dialogs`, all three owned by the caller and outliving the window.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    TForm1(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
        const std::u32string& startDirectory, QWidget* parent = nullptr);
    ~TForm1() override;

    /// The options the rules read, as the controls stand now.
    [[nodiscard]] engine::RenameOptions renameOptions() const;
    /// The run scope (directory, mask, selection, check boxes, attributes) as they stand now.
    [[nodiscard]] engine::RunScope runScope() const;
    [[nodiscard]] engine::RunState& runState() { return m_state; }
    [[nodiscard]] const QFont& listingFont() const { return ListingFont; }

    // Handlers, named as the program names them.
    void BitBtn1Click(); ///< "Rinomina"
    void UNDO(); ///< "Annulla"
    void BitBtn4Click(); ///< "Anteprima"
    void ComboBox1Change();
    void CheckBox6Click();
    void CheckBox5Click();
    void ChkAttr();
    void Aggiorna_StatusBar();
    void Splittabox();
    /// The directory tree moved: the path box, the file list and the drive follow it.
    void DirectoryListBox1Change();

    // The file list's commands and the navigation around it.
    void DriveComboBox1Change();
    void Edit1Change();
    void FileListBox1Change();
    void FilterComboBox1Change();
    void SpeedButton1Click();
    void aggiornaClick();
    /// Right button: focuses and selects the entry under `pos` and opens PopupMenu1 there;
    /// over no entry, nothing is focused and no menu opens.
    void FileListBox1MouseDown(const QPoint& pos);
    void FileListBox1DblClick();
    void Apri1Click();
    /// "Elimina": after confirmation, moves the focused file into the user's trash. The
    /// confirmation's path may be edited, but only the focused file is ever deleted; a
    /// file the trash cannot take stays and the user is told. Never deletes for good.
    void Delete1Click();
    void Propriet1Click();
    void RinominalaDirectory1Click();

    // The directory monitor's side.
    void DirMon1Created(const std::u32string& name);
    void DirMon1Deleted(const std::u32string& name);
    void DirMon1Renamed(const std::u32string& oldName, const std::u32string& newName);
    /// Re-reads the tree and the file list after changes made by other programs, without
    /// moving the monitor (MonitorEchoGuard).
    void RefreshLists();
    /// The monitor on or off around the program's own renames (only where it is used).
    void setMonitorActive(bool active);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const std::u32string& startDirectory);
    void FormClose();
    void createControls();
    void createOptionColumn();
    void createButtonColumn();
    void createMenus();
    void connectSignals();
    void createFileListMenu();
    void connectFileListSignals();
    void clearListModes();
    void createMonitor();
    /// Points the monitor at the tree's directory unless MonitorEchoGuard is set; clears it.
    void followWithMonitor();
    /// The full path of the focused file; empty when no file has the focus.
    [[nodiscard]] std::u32string focusedPath() const;
    void applyScope(const engine::RunScope& scope);
    void applyOneRunItems(const engine::RenameOptions& options);
    /// Runs a handler; an error that escapes it is shown, and the program goes on.
    void guarded(const std::function<void()>& handler);
    using Handler = void (TForm1::*)();
    /// A slot that runs `handler` inside guarded().
    [[nodiscard]] std::function<void()> guardedSlot(Handler handler);

    engine::Prompts& m_prompts;
    platform::FileSystem& m_fs;
    DialogHost& m_dialogs;
    platform::Collator m_collator;
    engine::RunState m_state;
    std::unique_ptr<RunProgress> m_progress;
    QTimer* m_refreshTimer = nullptr; ///< coalesces the monitor's bursts into one re-read
    QFont ListingFont;

public:
    // Controls and menu items keep the program's names (object names too).
    QLineEdit* Edit1 = nullptr;
    QToolButton* rendir = nullptr;
    QToolButton* aggiorna = nullptr;
    DriveComboBox* DriveComboBox1 = nullptr;
    FilterComboBox* FilterComboBox1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel4 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    tDirectoryListBoxSpecial* DirectoryListBox1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    FileListBox* FileListBox1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    QWidget* Panel1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QCheckBox* CheckBox11 = nullptr;

    QWidget* Panel3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    QAction* RinominalaDirectory1 = nullptr;
    QAction* Rinominainformato831 = nullptr;
    QAction* NumerazioneFiles1 = nullptr;
    QAction* EliminaNumerazioneFiles1 = nullptr;
    QAction* SostSeqCar1 = nullptr;
    QAction* EliminaSequenzaCaratteri1 = nullptr;
    QAction* RinominadaFile1 = nullptr;
    QAction* RinominadaCDDB1 = nullptr;
    QAction* N6 = nullptr;
    QAction* AnteprimadiStampa1 = nullptr;
    QAction* Stampa1 = nullptr;
    QAction* Gestiscilettereaccentate1 = nullptr;
    QAction* dosnames1 = nullptr;
    QAction* Compattaspazivuoti1 = nullptr;
    QAction* Noneliminaredellestensione1 = nullptr;
    QAction* Lingua1 = nullptr;
    QAction* Impostazioni2 = nullptr;
    QAction* checkUpdate = nullptr;
    QAction* About1 = nullptr;

    TDirMon* DirMon1 = nullptr;
    bool MonitorEchoGuard = false;

    QMenu* PopupMenu1 = nullptr;
    QAction* Apri1 = nullptr;
    QAction* Rinomina1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* Propriet1 = nullptr;
};

} // namespace quorvane::app
