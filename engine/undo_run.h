// "Annulla": the renames of the last run reversed, last one first.
#pragma once

#include "prompts.h"
#include "run_observer.h"
#include "run_state.h"

#include "platform/file_system.h"

#include <cstddef>
#include <vector>

namespace quorvane::engine {

class JournalWriter;

/// Reverses state.undo. Names only: attributes the run set stay. The log itself is kept;
/// the caller disables "Annulla" so it cannot be undone twice, and owns the directory
/// monitor around it.
class UndoRun
{
public:
    UndoRun(
        platform::FileSystem& fs, const RunState& state, Prompts& prompts, RunObserver& observer);

    /// Renames every logged entry back, from the last to the first. An entry that cannot be
    /// renamed back is reported once (RIPRISTINO_NOME_GIA_PRESENTE when its old name is
    /// taken, FILE_X_IN_USO otherwise), tried once more, then given up.
    /// Returns the indexes of the log that were given up.
    std::vector<std::size_t> UNDO();

    /// Journals the undo into `journal` (owned by the caller), as an undo of the run
    /// state.lastRunJournal. When it cannot be written the user is asked whether to undo
    /// without it; No leaves everything as it is and refused() true.
    void setJournal(JournalWriter* journal) { m_journal = journal; }
    /// The undo did not happen because its journal could not be written.
    [[nodiscard]] bool refused() const { return m_refused; }

private:
    [[nodiscard]] platform::Status renameBack(std::size_t index);
    /// The message about an index that could not be renamed back.
    void tellRefusal(std::size_t index, const platform::SysError& error);
    [[nodiscard]] bool beginJournal();

    platform::FileSystem& m_fs;
    const RunState& m_state;
    Prompts& m_prompts;
    RunObserver& m_observer;
    JournalWriter* m_journal = nullptr;
    bool m_refused = false;
};

} // namespace quorvane::engine
