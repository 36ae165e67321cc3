// The rename run: the entry list of a directory, the per-entry renames, the timed run and
// the framing of the "Rinomina" button.
#pragma once

#include "entry_list.h"
#include "prompts.h"
#include "rename_options.h"
#include "run_scope.h"
#include "run_state.h"

#include "platform/collator.h"
#include "platform/file_system.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvane::engine {

/// An entry whose rename the system refused and that was given up: it keeps its name.
struct GivenUpRename
{
    std::u32string directory; ///< directory text, ending in "/"
    std::u32string oldName;
    std::u32string newName; ///< the last name that was tried
    platform::SysError error;
};

/// An entry that kept its attributes because setting them failed.
struct AttributeFailure
{
    std::u32string path;
    platform::SysError error;
};

/// How a press of "Rinomina" ended.
struct RunReport
{
    bool aborted = false; ///< the dangerous-directory warning was answered Abort, or Cancel
    /// The run did not start because its input was unusable (a selected name that is not a
    /// file of the directory); holds the message, which was also told.
    std::u32string refused;
    int renamed = 0; ///< entries that really got a new name
    std::vector<GivenUpRename> givenUp;
    std::vector<AttributeFailure> attributesKept;
    /// The run was stopped (Stop in the retry box, or stopRequested); the entries after the
    /// one it stopped at were not processed.
    bool stopped = false;
    /// When stopped: the directories whose pass had not finished, innermost first; their
    /// entries not yet reached kept their names.
    std::vector<std::u32string> unfinished;
    std::vector<platform::SysError> unreadable; ///< directories that could not be listed
    std::u32string error; ///< an error that interrupted the run, empty when none
};

/// One run over the window's state. The run changes `options` (one-run items switched
/// off), `state` (counts, undo log, cleared flags) and `scope` (check boxes) as the program
/// does; everything it asks goes through `prompts`, everything it shows through `hooks`.
class RenameRun
{
public:
    RenameRun(platform::FileSystem& fs, const platform::Collator& collator, RenameOptions& options,
        RunState& state, RunScope& scope, Prompts& prompts, RunHooks& hooks);

    /// The "Rinomina" button: the confirmations, the run and the return to the idle state,
    /// also when the run is interrupted by an error.
    RunReport BitBtn1Click();

    /// The timed run over one directory: a fresh undo log, the passes, the summary title.
    void RunRename(const std::u32string& directory);

    /// A dry run: the preview rows of every entry in run order, in state.previewRows.
    /// Nothing on disk changes and the undo log is left alone.
    void Preview();

    /// One directory pass. With `list` it walks that list; otherwise it builds the list
    /// (descending first when asked). listOnly stops after building; preview records rows
    /// instead of renaming.
    void Renamer(std::u32string directory, const EntryList* list, bool listOnly, bool preview);

    /// The entries of a directory in run order. `directory` gets its final "/".
    [[nodiscard]] EntryList Make_List_Of_File(
        std::u32string& directory, bool listOnly, bool preview);

    [[nodiscard]] const RunReport& report() const { return m_report; }

private:
    /// The rename loop of one entry; returns the name the entry has afterwards.
    [[nodiscard]] std::u32string renameEntry(
        const std::u32string& dirText, const std::u32string& oldName, std::u32string newName);
    [[nodiscard]] RetryAnswer askRetry(const std::u32string& oldName, const std::u32string& newName,
        const platform::SysError& error);
    void setAttributes(const std::u32string& directory, const std::u32string& name);
    void sortEntries(EntryList& list) const;
    [[nodiscard]] bool checkSelection();
    void showRunSummary(std::int64_t elapsedMs);
    [[nodiscard]] bool usesOrderList() const;
    void finishClick();

    platform::FileSystem& m_fs;
    const platform::Collator& m_collator;
    RenameOptions& m_options;
    RunState& m_state;
    RunScope& m_scope;
    Prompts& m_prompts;
    RunHooks& m_hooks;
    RunReport m_report;
    std::u32string m_topDirectory; ///< the run's own directory, where the selection applies
    bool m_skipAllRefused = false; ///< "skip every error" was answered in this run
};

/// The directory text used to build paths: the directory with one final "/".
[[nodiscard]] std::u32string directoryText(std::u32string directory);

/// The caption of the box for a refused rename: the reason in words and the error code.
[[nodiscard]] std::u32string retryCaption(const platform::SysError& error);

/// True when a name typed by the user can name an entry of the same directory: not
/// empty, not "." or "..", no "/" and no NUL.
[[nodiscard]] bool isAcceptableTypedName(std::u32string_view name);

} // namespace quorvane::engine
