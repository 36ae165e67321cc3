// The special rename modes of the "Avanzate" menu: numbering, removing numbers, sequences,
// names from a list file and from the CD player database.
#pragma once

#include "app/options_panel.h"

#include "engine/entry_list.h"
#include "engine/list_file.h"
#include "engine/run_state.h"
#include "platform/collator.h"

#include <QObject>

#include <string>

class QWidget;

namespace quorvane::engine {
class Prompts;
}
namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class DialogHost;
class RunController;

/// Arms and disarms the special modes. Each command runs after its menu item's check mark
/// was inverted by the click (QAction does that for a checkable item): a command finds the
/// item checked when the user is arming the mode, clear when disarming it. The dialogs set
/// the run state; the next run applies the armed modes and disarms them.
class ModeCommands final : public QObject
{
    Q_OBJECT
public:
    /// `items` are the window's menu items; `options` holds the directory boxes; `run`
    /// tells the run's scope. Everything belongs to `window` and outlives the commands.
    ModeCommands(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
        engine::RunState& state, const OptionItems& items, OptionsPanel& options,
        const RunController& run, QWidget& window);

    // Handlers, named as the program names them.
    void NumerazioneFiles1Click();
    void EliminaNumerazioneFiles1Click();
    void EliminaSequenzaCaratteri1Click();
    void SostSeqCar1Click();
    void RinominadaFile1Click();
    void RinominadaCDDB1Click();

    /// The window's directory changed: numbering in an order chosen among the old
    /// directory's files would walk names of another directory, so it is disarmed.
    void disarmCustomOrder();
    /// The filter or the file list changed: a prepared list of names no longer fits, nor
    /// numbering that was asked for on top of it.
    void disarmListModes();

    /// Where the CD player database is read (a bare file name lies in the program's
    /// configuration directory; empty means "cdplayer.ini").
    void setCdPlayerIniPath(std::u32string path) { m_cdPlayerIni = std::move(path); }

signals:
    /// The user pointed at the CD player database after it was not found where configured.
    void cdPlayerIniChosen(const QString& path);

private:
    void connectItems();
    [[nodiscard]] bool listModeArmed() const;
    [[nodiscard]] bool customOrderArmed() const;
    /// The directory boxes are free unless a mode still armed works on one directory's
    /// files.
    void releaseDirectoryBoxes();
    /// The entries of the current directory as a run would take them, without descending.
    [[nodiscard]] engine::EntryList currentEntries();
    /// The order dialog; false when it was cancelled.
    [[nodiscard]] bool chooseOrder();
    /// The alignment dialog over the names `read` (from the list file ListFileName, or an
    /// album's titles; none means every destination is missing); `item` is the list mode being
    /// armed, `other` the one it excludes; `listFile` becomes ListFileName once it is armed.
    /// Cancelled, it leaves the run state as it was.
    void alignList(QAction& item, QAction& other, const engine::ListFileNames& read,
        const std::u32string& listFile);
    /// Arms numbering after a list dialog asked for it.
    void numberAfterList();

    engine::Prompts& m_prompts;
    platform::FileSystem& m_fs;
    DialogHost& m_dialogs;
    engine::RunState& m_state;
    OptionItems m_items;
    OptionsPanel& m_options;
    const RunController& m_run;
    QWidget& m_window;
    platform::Collator m_collator;
    std::u32string m_cdPlayerIni;
};

} // namespace quorvane::app
