// The window's two ways into the run journal.
#include "history_commands.h"

#include "thistory.h"

#include "app/dialog_host.h"
#include "app/qt_text.h"

#include "engine/interrupted_run.h"
#include "engine/journal_writer.h"
#include "lang/added_texts.h"

namespace quorvane::app {

QString historyMenuCaption()
{
    return toQt(lang::addedText(lang::added::CRONOLOGIA_MENU));
}

void showRunHistory(DialogHost& dialogs, platform::FileSystem& fs, engine::Prompts& prompts,
    engine::RunObserver& progress, QWidget* parent, const std::function<void()>& beforeUndo,
    const std::function<void()>& afterUndo)
{
    const engine::JournalStore store(engine::defaultRunsDirectory());
    THistory history(store, fs, prompts, progress, parent);
    QObject::connect(&history, &THistory::undoStarting, &history, beforeUndo);
    QObject::connect(&history, &THistory::undoFinished, &history, afterUndo);
    dialogs.exec(history);
}

bool checkInterruptedRun(platform::FileSystem& fs, engine::Prompts& prompts,
    engine::RunObserver& progress, const std::function<void()>& beforeUndo,
    const std::function<void()>& afterUndo)
{
    const engine::JournalStore store(engine::defaultRunsDirectory());
    if (!engine::interruptedLatestRun(store))
        return false;
    // The monitor goes off only once the user said Yes; beforeUndo is cheap to undo.
    beforeUndo();
    const auto report = engine::offerUndoOfInterruptedRun(fs, store, prompts, progress);
    afterUndo();
    return report.has_value();
}

} // namespace quorvane::app
