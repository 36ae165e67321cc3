// What a run did, as data: the window turns it into its title and buttons, the command
// line into its summary and exit status.
#pragma once

#include "platform/sys_error.h"

#include <cstdint>
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
struct RunSummary
{
    /// The run itself happened (a fresh undo log was started); false when a question was
    /// answered Abort or Cancel, or the input was refused.
    bool ran = false;
    bool aborted = false; ///< the dangerous-directory warning or the one-file question said no
    /// The run did not start because its input was unusable (a selected name that is not a
    /// file of the directory); holds the message, which was also told.
    std::u32string refused;
    int processed = 0; ///< entries the run went through, renamed or not
    int renamed = 0; ///< entries that really got a new name
    std::int64_t elapsedMs = 0;
    std::vector<GivenUpRename> givenUp;
    std::vector<platform::SysError> unreadable; ///< directories that could not be listed
    std::vector<AttributeFailure> attributesKept;
    /// The run was stopped (Stop in the retry box, or a stop request); the entries after
    /// the one it stopped at were not processed.
    bool stopped = false;
    /// When stopped: the directories whose pass had not finished, innermost first.
    std::vector<std::u32string> unfinished;
    std::u32string error; ///< an error that interrupted the run, empty when none
};

/// CAPTION_DONE filled from the summary: the program, the count of renamed entries and
/// the time ("Quorvane 0.99 - Ultima operazione: 12 files rinominati in 0 minuti e 1,042
/// secondi").
[[nodiscard]] std::u32string captionDone(const RunSummary& summary);

/// The window's title after a run: captionDone, then how many entries were given up and
/// whether the run was stopped, so a failed run never reads as a success.
[[nodiscard]] std::u32string runTitle(const RunSummary& summary);

} // namespace quorvane::engine
