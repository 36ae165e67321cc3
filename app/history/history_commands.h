// The window's two ways into the run journal: the history command and the check at
// start-up for a run the program did not finish.
//
// How the main window calls them:
// - A menu item in "Avanzate", caption historyMenuCaption() ("Cronologia operazioni"),
//   object name "CronologiaOperazioni1", whose triggered handler calls
//       showRunHistory(m_dialogs, m_fs, m_prompts, progress, this,
//           [&] { browse.setMonitorActive(false); },
//           [&] { browse.rereadAll(); browse.setMonitorActive(true); });
//   with any engine::RunObserver for `progress` (the run's RunProgress, or a quiet one).
// - Once, after the window is first shown (after the settings are read, before the user
//   can start a run), with the same arguments:
//       checkInterruptedRun(m_fs, m_prompts, progress, beforeUndo, afterUndo);
//   It asks only when the latest recorded run was interrupted.
// - Runs and "Annulla" are journaled by RunController itself. The single-file rename and
//   the rename of the current directory are journaled by handing their engine call a
//   journal:  engine::JournalWriter journal(engine::defaultRunsDirectory());
//             engine::renameOneFile(fs, prompts, dir, name, dosNames, &journal);
//   (likewise the last argument of engine::renameCurrentDirectory).
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quorvane::engine {
class Prompts;
class RunObserver;
} // namespace quorvane::engine
namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class DialogHost;

/// The caption of the "Avanzate" menu item that opens the history.
[[nodiscard]] QString historyMenuCaption();

/// Opens the history of the default runs directory modally through `dialogs`. `beforeUndo`
/// runs just before an undo touches the disk, `afterUndo` right after it.
void showRunHistory(DialogHost& dialogs, platform::FileSystem& fs, engine::Prompts& prompts,
    engine::RunObserver& progress, QWidget* parent, const std::function<void()>& beforeUndo,
    const std::function<void()>& afterUndo);

/// When the latest recorded run of the default runs directory was interrupted, asks
/// (OPERAZIONE_INTERROTTA, No by default) whether to undo it and does so, calling
/// `beforeUndo` and `afterUndo` around the undo. Returns true when an undo was made.
bool checkInterruptedRun(platform::FileSystem& fs, engine::Prompts& prompts,
    engine::RunObserver& progress, const std::function<void()>& beforeUndo,
    const std::function<void()>& afterUndo);

} // namespace quorvane::app
