// "Annulla": the renames of the last run reversed, last one first.
#include "undo_run.h"

#include "journal_writer.h"
#include "rename_retry.h"

#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/case_fold.h"
#include "platform/name_codec.h"

#include <cerrno>

namespace quorvane::engine {

UndoRun::UndoRun(
    platform::FileSystem& fs, const RunState& state, Prompts& prompts, RunObserver& observer)
    : m_fs(fs)
    , m_state(state)
    , m_prompts(prompts)
    , m_observer(observer)
{ }

platform::Status UndoRun::renameBack(std::size_t index)
{
    const UndoLog& log = m_state.undo;
    const std::string dir(log.directoryBytes(index));
    return renameWithSilentRetries(
        m_fs, dir, std::string(log.newNameBytes(index)), std::string(log.oldNameBytes(index)));
}

void UndoRun::tellRefusal(std::size_t index, const platform::SysError& error)
{
    const UndoLog& log = m_state.undo;
    const std::u32string path = log.directory(index) + log.newName(index);
    // A taken name is no file in use: the user has to move the other entry away.
    if (error.code == EEXIST || error.code == ENOTEMPTY) {
        m_prompts.tell({ "RIPRISTINO_NOME_GIA_PRESENTE", Severity::Error,
            lang::formatText(lang::addedText(lang::added::RIPRISTINO_NOME_GIA_PRESENTE),
                { path, log.oldName(index) }) });
        return;
    }
    m_prompts.tell({ "FILE_X_IN_USO", Severity::Error,
        lang::formatText(lang::LookupConstant(lang::id::FILE_X_IN_USO), { path }) });
}

std::vector<std::size_t> UndoRun::UNDO()
{
    std::vector<std::size_t> givenUp;
    const UndoLog& log = m_state.undo;
    if (!beginJournal())
        return givenUp;
    JournalWriter* const journal
        = m_journal != nullptr && m_journal->active() ? m_journal : nullptr;
    // Last first: a parent directory logged after its contents gets its old name back
    // before them, so the paths logged for the contents exist again when their turn comes.
    for (std::size_t index = log.size(); index-- > 0;) {
        platform::Status status = renameBack(index);
        if (!status.ok()) {
            m_observer.entryRefused(log.directory(index), log.newName(index), status.error());
            tellRefusal(index, status.error());
            status = renameBack(index);
        }
        const std::size_t step = log.size() - 1 - index;
        if (journal != nullptr && status.ok())
            journal->done(step);
        else if (journal != nullptr)
            journal->givenUp(step);
        if (status.ok()) {
            m_observer.entryRenamed(
                log.directoryBytes(index), log.newNameBytes(index), log.oldNameBytes(index));
        } else {
            givenUp.push_back(index);
            m_observer.entryGivenUp(
                { log.directory(index), log.newName(index), log.oldName(index), status.error() });
        }
    }
    if (journal != nullptr)
        journal->close(log.size() - givenUp.size(), givenUp.size());
    return givenUp;
}

bool UndoRun::beginJournal()
{
    if (m_journal == nullptr)
        return true;
    const UndoLog& log = m_state.undo;
    // Last first, as the renames back will go.
    std::size_t remaining = log.size();
    const auto nextEntry = [&](JournalEntry& entry) {
        if (remaining == 0)
            return false;
        const std::size_t index = --remaining;
        entry.directory = log.directoryBytes(index);
        entry.oldName = log.newNameBytes(index);
        entry.newName = log.oldNameBytes(index);
        entry.identity = {};
        entry.caseChange
            = platform::equalsIgnoreCase(log.newNameBytes(index), log.oldNameBytes(index));
        return true;
    };
    std::string top
        = log.empty() ? std::string {} : std::string(log.directoryBytes(log.size() - 1));
    // The log's directories end in "/" to build paths; the run recorded its directory as
    // the user chose it, and the history shows the two side by side.
    if (top.size() > 1 && top.back() == '/')
        top.pop_back();
    const platform::Status begun
        = m_journal->beginFrom(JournalKind::Undo, top, nextEntry, m_state.lastRunJournal);
    m_refused = !begun.ok() && !proceedWithoutJournal(m_prompts, begun.error());
    return !m_refused;
}

} // namespace quorvane::engine
