// The question at start-up about a run that the program did not finish, and the messages
// of an undo of a recorded run.
#pragma once

#include "journal_store.h"
#include "prompts.h"
#include "recorded_undo.h"
#include "run_observer.h"

#include "platform/file_system.h"

#include <optional>

namespace quorvane::engine {

/// The latest recorded run when it is interrupted, or when it is an interrupted undo (then
/// the run that undo reverses, which undoing finishes). nullopt otherwise.
[[nodiscard]] std::optional<RecordedRun> interruptedLatestRun(const JournalStore& store);

/// Asks OPERAZIONE_INTERROTTA (Yes/No, No by default) when the latest run is interrupted and,
/// on Yes, undoes it (progress to `observer`) and tells what could not be restored.
/// nullopt when nothing was asked or the answer was No.
std::optional<RecordedUndoReport> offerUndoOfInterruptedRun(
    platform::FileSystem& fs, const JournalStore& store, Prompts& prompts, RunObserver& observer);

/// Tells the outcome of an undo that did not restore everything: the refusal, or
/// RIPRISTINO_INCOMPLETO with the entries left behind. Says nothing after a complete undo.
void tellUndoOutcome(Prompts& prompts, const RecordedUndoReport& report);

} // namespace quorvane::engine
