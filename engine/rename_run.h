// The rename run: the entry list of a directory, the per-entry renames, the timed run and
// the questions of the "Rinomina" button.
#pragma once

#include "entry_list.h"
#include "pass_entries.h"
#include "prompts.h"
#include "rename_options.h"
#include "run_observer.h"
#include "run_scope.h"
#include "run_state.h"
#include "run_summary.h"

#include "platform/collator.h"
#include "platform/file_system.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

class JournalWriter;

/// One run. The run changes `options` (one-run items switched off), `state` (counts, undo
/// log, cleared flags) and `scope` (directory options off under a selection, the selection
/// cleared by "All"); everything it asks goes through `prompts`, its progress goes to
/// `observer`, and what it did comes back as a RunSummary.
class RenameRun
{
public:
    RenameRun(platform::FileSystem& fs, const platform::Collator& collator, RenameOptions& options,
        RunState& state, RunScope& scope, Prompts& prompts, RunObserver& observer);

    /// The "Rinomina" button's questions, the run, and the one-run items switched off,
    /// also when the run is interrupted by an error. The caller owns the button and the
    /// directory monitor around it.
    RunSummary BitBtn1Click();

    /// The timed run over one directory: a fresh undo log, the passes, the messages about
    /// what could not be done. Errors are caught into the summary: what was renamed before
    /// one stays in the undo log.
    void RunRename(const std::u32string& directory);

    /// A dry run: the preview rows of every entry a run started now would take (a selection
    /// without the directories), in run order, in state.previewRows.
    /// Nothing on disk changes and the undo log is left alone.
    void Preview();

    /// One directory pass. With `list` it walks that list; otherwise it builds the list
    /// (descending first when asked). listOnly stops after building; preview records rows
    /// instead of renaming.
    void Renamer(std::u32string directory, const EntryList* list, bool listOnly, bool preview);

    /// The entries of a directory in run order. `directory` gets its final "/".
    [[nodiscard]] EntryList Make_List_Of_File(
        std::u32string& directory, bool listOnly, bool preview);

    [[nodiscard]] const RunSummary& summary() const { return m_summary; }

    /// Journals the real run into `journal` (owned by the caller, unused before the run):
    /// its plan is on disk before the first rename, and when it cannot be written the user
    /// is asked whether to rename without it (No refuses the run, nothing renamed). Null,
    /// the default, runs without a journal. Its id goes to state.lastRunJournal.
    void setJournal(JournalWriter* journal) { m_journal = journal; }

private:
    /// The rows of a real run in run order, every entry with the name it is to get; an
    /// error met on the way (a list with too few names) ends the plan there.
    [[nodiscard]] UndoLog planRun(const std::u32string& directory, const EntryList* list);
    /// Starts the journal of the plan; false when the run must not go on.
    [[nodiscard]] bool beginJournal(const std::u32string& directory, const UndoLog& plan);
    /// Renames the rows of a plan in order, counting them in RenamedCount from countBefore.
    /// The plan ends up in the undo log, holding the rows that were renamed.
    void executePlan(UndoLog& plan, int countBefore);
    /// Adds the rows of `plan` whose `renamed` is true to the undo log, emptying `plan`.
    void keepInUndo(UndoLog& plan, const std::vector<bool>& renamed);
    void noteUnfinished(std::u32string directory);
    /// The rename loop of one row of `plan`; true when the entry got a new name (a name
    /// typed on the way becomes the row's new name).
    [[nodiscard]] bool renameEntry(UndoLog& plan, std::size_t row, std::size_t journalIndex);
    [[nodiscard]] RetryAnswer askRetry(const std::u32string& dirText, const std::u32string& oldName,
        const std::u32string& newName, const platform::SysError& error);
    void setAttributes(std::string_view directory, std::string_view name);
    /// The rows of one pass over `list`, or over `built` when there is no list, appended
    /// to `rows` in order.
    void planPass(const std::u32string& directory, const EntryList* list, const PassEntries& built,
        UndoLog& rows);
    /// The entries of a directory in run order, compact (see Make_List_Of_File).
    [[nodiscard]] PassEntries listPass(std::u32string& directory, bool listOnly, bool preview);
    /// Sorts the entries in collation order.
    void sortPass(PassEntries& pass) const;
    [[nodiscard]] bool checkSelection();
    [[nodiscard]] bool usesOrderList() const;
    void finishClick();
    void tellWhatWasNotDone();

    platform::FileSystem& m_fs;
    const platform::Collator& m_collator;
    RenameOptions& m_options;
    RunState& m_state;
    RunScope& m_scope;
    Prompts& m_prompts;
    RunObserver& m_observer;
    RunSummary m_summary;
    bool m_skipAllRefused = false; ///< "skip every error" was answered in this run
    JournalWriter* m_journal = nullptr; ///< active once its plan is on disk
    UndoLog* m_rows = nullptr; ///< where a preview pass writes its rows
    /// While a journaled run is planned: the inode number of each row as the directory
    /// listing gave it (0 when the entry was not listed), so that the plan needs no stat
    /// per entry.
    std::vector<std::uint64_t>* m_rowInodes = nullptr;
    std::vector<std::uint64_t> m_planInodes; ///< the rows' inode numbers of the last plan
    /// The entry being renamed: its directory, old name and new name, in buffers kept from
    /// entry to entry.
    std::string m_renameDirectory;
    std::string m_renameFrom;
    std::string m_renameTo;
    std::u32string m_planError; ///< what ended the plan early
};

/// The directory text used to build paths: the directory with one final "/".
[[nodiscard]] std::u32string directoryText(std::u32string directory);

/// The caption of the box for a refused rename: the reason in words and the error code.
[[nodiscard]] std::u32string retryCaption(const platform::SysError& error);

/// True when a name typed by the user can name an entry of the same directory: not
/// empty, not "." or "..", no "/" and no NUL.
[[nodiscard]] bool isAcceptableTypedName(std::u32string_view name);

} // namespace quorvane::engine
