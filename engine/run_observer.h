// The events of a run and of an undo, for whoever shows their progress.
#pragma once

#include "run_summary.h"

#include <string>
#include <string_view>

namespace quorvane::engine {

/// Every event defaults to nothing, which is what a front end that only wants the summary
/// needs. Events arrive on the thread that runs the engine.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    virtual void runStarted() { }
    /// An entry got its new name; the directory (ending in "/") and both names are the
    /// system's bytes, so that a run nobody watches entry by entry converts nothing.
    virtual void entryRenamed(
        std::string_view /*directory*/, std::string_view /*oldName*/, std::string_view /*newName*/)
    { }
    /// A rename was refused; the user is asked next (a window re-reads its file list first,
    /// so the box is seen against what is really on disk).
    virtual void entryRefused(const std::u32string& /*directory*/,
        const std::u32string& /*oldName*/, const platform::SysError& /*error*/)
    { }
    virtual void entryGivenUp(const GivenUpRename& /*entry*/) { }
    virtual void directoryUnreadable(const platform::SysError& /*error*/) { }
    /// After each entry of a real run, with the count so far. A preview does not send it.
    virtual void progress(int /*processed*/) { }
    virtual void runFinished(const RunSummary& /*summary*/) { }
    /// Asked before each entry: true ends the run there, as if the user had answered Stop.
    [[nodiscard]] virtual bool stopRequested() { return false; }
};

} // namespace quorvane::engine
