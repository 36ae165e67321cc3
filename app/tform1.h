// The main window: the browsing side, the option column and the run buttons, under the menus.
#pragma once

#include "options_panel.h"
#include "settings/stored_settings.h"

#include "engine/run_state.h"

#include <QFont>
#include <QMainWindow>
#include <QMargins>
#include <QRect>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QTimer;

namespace quorvane::engine {
class Prompts;
}
namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class BrowsePane;
class DialogHost;
class ListingCommands;
class ModeCommands;
class RunController;
class UpdateStatus;

/// The program's single main window. It holds the run state and wires its three parts
/// together: the browse pane (drives, tree, file list, filter, monitor), the options panel,
/// the run controller, the special modes and the printed listing. Questions go through `prompts`,
/// disk work through `fs`, dialogs through `dialogs`, all three owned by the caller and outliving
/// the window. With a settings store (also the caller's) the window reads its settings when
/// first shown and writes them when closed; without one nothing persists and nothing is
/// asked at start-up. The controls keep the program's object names; tests find them with
/// findChild.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    TForm1(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
        const std::u32string& startDirectory, SettingsStore* settings = nullptr,
        QWidget* parent = nullptr);
    ~TForm1() override;

    [[nodiscard]] engine::RunState& runState() { return m_state; }
    [[nodiscard]] const QFont& listingFont() const { return ListingFont; }

    [[nodiscard]] BrowsePane& browsePane() { return *m_browse; }
    [[nodiscard]] OptionsPanel& optionsPanel() { return *m_options; }
    [[nodiscard]] RunController& runController() { return *m_run; }
    [[nodiscard]] ModeCommands& modeCommands() { return *m_modes; }
    [[nodiscard]] ListingCommands& listingCommands() { return *m_listing; }
    [[nodiscard]] SettingsFlags& settingsFlags() { return m_settingsFlags; }
    [[nodiscard]] UpdateStatus& updateStatus() { return *m_updateStatus; }

    /// Writes the settings now, as the switches allow ("Salva adesso").
    void saveSettings();
    void Impostazioni2Click(); ///< "Salva Impostazioni"
    /// The language dialog; a language clicked in it is in force at once.
    void ChooseLanguage();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const std::u32string& startDirectory);
    void FormClose();
    void createMenus();
    void createParts();
    void connectParts();
    void connectListing();
    void connectHelp();
    /// The history of recorded runs, with undo of any of them.
    void CronologiaOperazioni1Click();
    /// Offers to undo a recorded run the program did not finish (a crash, a kill).
    void checkInterruptedRunAtStart();
    void afterFirstPaint();
    void About1Click();
    void Lingua1Click();
    void createLanguageController();
    /// Registers the language files beside the executable, Italian being the base.
    void findLanguages();
    /// FormShow's language step: Italian, then the stored language or the dialog.
    void putStoredLanguageInForce();
    /// The language dialog when no settings were ever stored.
    void chooseLanguageOnFirstRun();
    void switchLanguageKeepingSelection(std::uint16_t langId);
    /// The first-start and upgrade question about automatic update checks.
    void askAutoCheck();
    /// Leggi, and the values read put into the controls.
    void readSettings();
    void applySettings(const StoredSettings& settings);
    void applyPlacement(const WindowPlacement& placement);
    /// The frame's borders as the platform knows them now (none before a window manager
    /// has framed the window).
    [[nodiscard]] QMargins frameMargins() const;
    void keepRestoredFrame();
    void watchRestoredFrame();
    [[nodiscard]] StoredSettings currentSettings() const;
    /// The exit's writes: the first-exit step, Salva when asked for, the three values.
    void writeSettingsAtExit();
    void firsttime();

    engine::Prompts& m_prompts;
    platform::FileSystem& m_fs;
    DialogHost& m_dialogs;
    engine::RunState m_state;
    QFont ListingFont;
    OptionItems m_items;
    BrowsePane* m_browse = nullptr;
    OptionsPanel* m_options = nullptr;
    RunController* m_run = nullptr;
    ModeCommands* m_modes = nullptr;
    std::unique_ptr<ListingCommands> m_listing;
    UpdateStatus* m_updateStatus = nullptr;
    SettingsStore* m_settings = nullptr;
    SettingsFlags m_settingsFlags;
    bool m_shown = false; ///< the first show reads the settings, later ones do not
    std::optional<QRect> m_restoredFrame; ///< until the frame's borders are known
    QMargins m_restoredMargins; ///< the borders the restored frame was placed with
    QTimer* m_frameWatch = nullptr;
    int m_frameChecksLeft = 0;

    // Menu items the window itself answers, or that wait for their windows.
    QAction* N6 = nullptr;
    QAction* AnteprimadiStampa1 = nullptr;
    QAction* Stampa1 = nullptr;
    QAction* CronologiaOperazioni1 = nullptr;
    QAction* Lingua1 = nullptr;
    QAction* Impostazioni2 = nullptr;
    QAction* checkUpdate = nullptr;
    QAction* About1 = nullptr;
};

} // namespace quorvane::app
