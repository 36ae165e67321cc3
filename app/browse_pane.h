// The browsing side of the main window: the path row, the drive list and the filter, the
// directory tree and the file list with its commands, the status bar, and the monitor that
// keeps them current.
#pragma once

#include "engine/run_state.h"

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPoint;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolButton;

namespace quorvane::engine {
class Prompts;
}
namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class DialogHost;
class DriveComboBox;
class FileListBox;
class FilterComboBox;
class tDirectoryListBoxSpecial;
class TDirMon;

/// Browses the disk and runs the file list's own commands. Questions go through `prompts`,
/// disk work through `fs`, dialogs through `dialogs`; `state` tells the platform kind. All
/// four belong to the window and outlive the pane. The widgets keep the program's object
/// names, so tests find them with findChild.
class BrowsePane final : public QWidget
{
    Q_OBJECT
public:
    BrowsePane(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
        const engine::RunState& state, QWidget* parent);
    ~BrowsePane() override;

    /// Opens the start directory and, where changes can be watched, starts the monitor
    /// and hides the refresh button.
    void start(const std::u32string& directory);

    [[nodiscard]] const std::u32string& directory() const;
    /// Moves the tree to `directory` and everything that follows it.
    void openDirectory(const std::u32string& directory);
    /// The filter's mask, "*.*" when nothing narrower is chosen.
    [[nodiscard]] std::u32string mask() const;
    [[nodiscard]] std::vector<std::u32string> selectedNames() const;
    void clearSelection();
    /// "Cambia nome a questa directory", for the window's menu.
    [[nodiscard]] QAction* renameDirectoryAction() const { return m_renameDirectory; }
    /// Names typed in the file list's rename box keep to DOS characters.
    void setDosNames(bool on) { m_dosNames = on; }

    /// A run holds the lists: the monitor's refreshes wait until it ends.
    void setRunning(bool running) { m_running = running; }
    /// Re-reads the tree and the file list after the program's own renames.
    void rereadAll();
    /// Re-reads the file list only, so a question about an entry is seen against the disk.
    void rereadFiles();
    void showRunMessage(const QString& text);
    void clearRunMessage();

    // Handlers, named as the program names them.
    void DirectoryListBox1Change();
    void DriveComboBox1Change();
    void Edit1Change();
    void FileListBox1Change();
    void FilterComboBox1Change();
    void SpeedButton1Click();
    void aggiornaClick();
    void Splittabox();
    void Aggiorna_StatusBar();
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

signals:
    /// The directory, the filter or the files changed: a prepared list of names no longer
    /// fits.
    void listModesInvalidated();
    /// The directory changed: an order chosen among the old directory's files no longer
    /// fits.
    void orderInvalidated();
    /// The current directory was renamed: the last run's names no longer lead anywhere.
    void undoInvalidated();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createFileListMenu();
    void createMonitor();
    void connectSignals();
    /// Points the monitor at the tree's directory unless MonitorEchoGuard is set; clears it.
    void followWithMonitor();
    void monitorFailed(const char* what);
    /// The full path of the focused file; empty when no file has the focus.
    [[nodiscard]] std::u32string focusedPath() const;
    engine::Prompts& m_prompts;
    platform::FileSystem& m_fs;
    DialogHost& m_dialogs;
    const engine::RunState& m_state;
    bool m_dosNames = false;
    bool m_running = false;
    bool MonitorEchoGuard = false;
    QTimer* m_refreshTimer = nullptr; ///< coalesces the monitor's bursts into one re-read

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
    TDirMon* DirMon1 = nullptr;
    QAction* m_renameDirectory = nullptr; ///< RinominalaDirectory1

    QMenu* PopupMenu1 = nullptr;
    QAction* Apri1 = nullptr;
    QAction* Rinomina1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* Propriet1 = nullptr;
};

} // namespace quorvane::app
