// Undo of a recorded run, decided by looking at the disk: what a journal planned, where
// each entry is now, and the rename back of what the run really did.
#pragma once

#include "journal_store.h"
#include "prompts.h"
#include "run_observer.h"

#include "platform/file_system.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::engine {

/// Where one planned entry is found, by its identity.
enum class EntryPlace {
    NotRenamed, ///< the old name holds it
    Renamed, ///< another name of the plan holds it (new, typed or temporary), not the old one
    Changed, ///< neither: renamed, removed or replaced by someone else since; never touched
};

struct LocatedEntry
{
    EntryPlace place = EntryPlace::Changed;
    std::string name; ///< the name that holds it now (Renamed)
};

/// Looks for the entry under its old name and under every name the run may have given it:
/// the names typed for it (last first), its planned new name, and the temporary names of a
/// change of letter case. An entry born after `journalCreated` (ns since the epoch; 0: not
/// checked) is a later file that reuses the inode number, never the run's entry. An entry
/// recorded on a volume without stable inode numbers is known by its type, size and times
/// instead (a modification time from `journalCreated` on counts, as renames may stamp it).
[[nodiscard]] LocatedEntry locateEntry(
    const JournalEntry& entry, const JournalProgress& progress, std::int64_t journalCreated = 0);

/// An entry an undo did not give its old name back.
struct NotRestored
{
    std::string path; ///< where the entry was looked for or found (bytes)
    std::string oldName;
    int error = 0; ///< errno of the refused rename; 0 when the entry had changed
};

/// What an undo of a recorded run did.
struct RecordedUndoReport
{
    enum class Refusal {
        None, ///< the undo ran
        NoSuchRun, ///< no recorded run has the id (or there is none at all)
        AlreadyUndone, ///< a finished undo already restored that run
        Running, ///< the run (or an undo of it) is still going on in another process
        NoJournal, ///< the undo's journal could not be written and the user said No
    };
    Refusal refusal = Refusal::None;
    /// The refusal in the program's words (Italian), for a window; empty when it ran.
    std::u32string refused;
    std::string undoneRun; ///< id of the run that was undone
    std::string journal; ///< id of the undo's own journal; empty when not journaled
    std::size_t restored = 0; ///< entries renamed back
    std::size_t unchanged = 0; ///< entries that still had their old names
    /// Entries the run never renamed (given up, not reached, or taken by another run at the
    /// same time): left as they are, and no failure of the undo.
    std::size_t notRenamedByRun = 0;
    std::vector<NotRestored> notRestored;
    /// The history holds this undo. False when not even a record written afterwards could be
    /// made (for an undo without a journal of its own): the run still shows as not undone.
    bool recorded = true;

    [[nodiscard]] bool complete() const { return refusal == Refusal::None && notRestored.empty(); }
};

/// Undoes recorded runs. Every rename back is the run's never-overwrite rename, last entry
/// first, and is itself journaled (kind Undo) so that an interrupted undo can be finished
/// by undoing the same run again.
class RecordedUndo
{
public:
    RecordedUndo(platform::FileSystem& fs, const JournalStore& store, Prompts& prompts,
        RunObserver& observer);

    /// Without a journal of its own (the user asked for that): the renames back are not
    /// journaled as they happen, and the history gets the undo's record once it is over.
    /// Default: journaled.
    void setJournaled(bool journaled) { m_journaled = journaled; }

    /// The run to undo for `id`: the latest run when empty. An undo journal stands for the
    /// run it reverses, so "undo" after an interrupted undo finishes it. nullopt when there
    /// is no such run.
    [[nodiscard]] std::optional<RecordedRun> target(const std::string& id) const;

    /// Undoes the run `id` (the latest when empty). A run already undone is refused.
    RecordedUndoReport undo(const std::string& id);

private:
    /// What became of one step of the undo, for a record written afterwards.
    enum class Step : char { Done, GivenUp };
    void undoEntries(const JournalContents& run, class JournalWriter* journal,
        RecordedUndoReport& report, std::vector<Step>& steps);
    /// The record of an undo made without a journal, so that the history tells it.
    void recordAfterwards(const JournalContents& run, const std::string& runId,
        const std::vector<Step>& steps, RecordedUndoReport& report);

    platform::FileSystem& m_fs;
    const JournalStore& m_store;
    Prompts& m_prompts;
    RunObserver& m_observer;
    bool m_journaled = true;
};

} // namespace quorvane::engine
