// The rename run: per-directory passes, the rename loop and the timed run.
#include "rename_run.h"

#include "journal_writer.h"
#include "name_rules.h"
#include "rename_retry.h"
#include "scope_exit.h"
#include "transform_name.h"

#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/case_fold.h"
#include "platform/journal_file.h"
#include "platform/name_codec.h"

#include <quorvane_version.h>

#include <cerrno>
#include <chrono>

namespace quorvane::engine {

namespace {

std::u32string text(lang::ConstantId constant)
{
    return lang::LookupConstant(constant);
}

/// The entry without its kind letter, without a copy.
std::u32string_view nameOf(std::u32string_view entry)
{
    return entry.empty() ? entry : entry.substr(0, entry.size() - 1);
}

} // namespace

std::u32string directoryText(std::u32string directory)
{
    if (directory.empty() || directory.back() != U'/')
        directory.push_back(U'/');
    return directory;
}

bool isAcceptableTypedName(std::u32string_view name)
{
    return !name.empty() && name != U"." && name != U".."
        && name.find(U'/') == std::u32string_view::npos
        && name.find(U'\0') == std::u32string_view::npos;
}

RenameRun::RenameRun(platform::FileSystem& fs, const platform::Collator& collator,
    RenameOptions& options, RunState& state, RunScope& scope, Prompts& prompts,
    RunObserver& observer)
    : m_fs(fs)
    , m_collator(collator)
    , m_options(options)
    , m_state(state)
    , m_scope(scope)
    , m_prompts(prompts)
    , m_observer(observer)
{ }

bool RenameRun::usesOrderList() const
{
    // A custom order is the numbering's: without numbering it would only narrow the run to
    // the files it lists.
    return m_options.RinominadaFile1 || m_options.RinominadaCDDB1
        || (m_options.NumerazioneFiles1 && m_state.NumCustomOrder);
}

void RenameRun::RunRename(const std::u32string& directory)
{
    const auto start = std::chrono::steady_clock::now();
    const int countBefore = m_state.RenamedCount;
    // Every name is decided before the first rename, so that the whole run can be written
    // to the journal and undone from there whatever stops it.
    if (m_journal != nullptr)
        m_journal->prepare();
    UndoLog plan = planRun(directory, usesOrderList() ? &m_state.OrderList : nullptr);
    if (!beginJournal(directory, plan)) {
        m_state.RenamedCount = countBefore;
        return;
    }
    m_state.undo = UndoLog {};
    m_state.lastRunJournal = m_journal != nullptr && m_journal->active() ? m_journal->id() : "";
    m_summary.ran = true;
    m_observer.runStarted();
    try {
        executePlan(plan, countBefore);
    } catch (const std::exception& e) {
        // What was renamed before the error stays logged, so it can still be undone; the
        // caller enables "Annulla" from the summary whatever ended the run.
        m_summary.error = platform::decodeName(e.what());
    }
    if (m_summary.error.empty())
        m_summary.error = m_planError;
    if (m_journal != nullptr)
        m_journal->close(static_cast<std::size_t>(m_summary.renamed), m_summary.givenUp.size());
    if (m_options.NumerazioneFiles1)
        m_state.LastNumberedDir = directory;
    m_options.NumerazioneFiles1 = false;

    // A monotonic clock: a run across midnight or a clock change never shows a negative
    // time.
    m_summary.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start)
                              .count();
    m_summary.processed = m_state.RenamedCount;
    m_observer.runFinished(m_summary);
    tellWhatWasNotDone();
}

UndoLog RenameRun::planRun(const std::u32string& directory, const EntryList* list)
{
    UndoLog plan;
    m_rows = &plan;
    m_planInodes.clear();
    if (m_journal != nullptr)
        m_rowInodes = &m_planInodes;
    m_planError.clear();
    try {
        Renamer(directory, list, false, true);
    } catch (const RunError& e) {
        // The entries planned before the error are still renamed, as a run that met the
        // error on its way would have; the error is reported at the end.
        m_planError = platform::decodeName(e.what());
    }
    m_rows = nullptr;
    m_rowInodes = nullptr;
    return plan;
}

bool RenameRun::beginJournal(const std::u32string& directory, const UndoLog& plan)
{
    if (m_journal == nullptr)
        return true;
    std::string_view lastDirectory;
    std::uint64_t device = 0;
    std::size_t row = 0;
    const auto nextEntry = [&](JournalEntry& entry) {
        while (row < plan.size() && plan.unchanged(row))
            ++row;
        if (row == plan.size())
            return false;
        const std::string_view directoryBytes = plan.directoryBytes(row);
        if (lastDirectory.data() == nullptr || directoryBytes != lastDirectory) {
            lastDirectory = directoryBytes;
            const auto identity = platform::fileIdentity(std::string(directoryBytes));
            device = identity.ok() ? identity.value().device : 0;
        }
        entry.directory = directoryBytes;
        entry.oldName = plan.oldNameBytes(row);
        entry.newName = plan.newNameBytes(row);
        entry.caseChange
            = platform::equalsIgnoreCase(plan.oldNameBytes(row), plan.newNameBytes(row));
        // The listing's inode number spares a stat per entry; an entry that is a mount
        // point shows another device than its directory, and its rename fails anyway.
        entry.identity = {};
        if (row < m_planInodes.size() && m_planInodes[row] != 0 && device != 0)
            entry.identity = { device, m_planInodes[row], 0 };
        ++row;
        return true;
    };
    const platform::Status begun
        = m_journal->beginFrom(JournalKind::Run, platform::encodeName(directory), nextEntry);
    if (begun.ok() || proceedWithoutJournal(m_prompts, begun.error()))
        return true;
    m_summary.refused = platform::decodeName(begun.error().describe());
    return false;
}

void RenameRun::executePlan(UndoLog& plan, int countBefore)
{
    // The plan becomes the undo log: the rows renamed stay, the others go. Done whatever
    // ends the loop, so what was renamed before an error can still be undone.
    std::vector<bool> renamed(plan.size(), false);
    const OnScopeExit closeDirectory([&] { m_fs.closeRenameDirectory(); });
    const OnScopeExit keepRenamed([&] {
        // Run while an error may be unwinding: it must not throw. Without room for the
        // log, "Annulla" has nothing to offer, and the run's journal still holds the truth.
        try {
            keepInUndo(plan, renamed);
        } catch (const std::exception&) {
            m_state.undo = UndoLog {};
        }
    });
    std::size_t journalIndex = 0;
    std::string_view lastDirectory;
    std::u32string directory;
    for (std::size_t row = 0; row < plan.size(); ++row) {
        if (const std::string_view bytes = plan.directoryBytes(row);
            row == 0 || bytes != lastDirectory) {
            lastDirectory = bytes;
            directory = platform::decodeName(bytes);
        }
        if (m_observer.stopRequested()) {
            m_summary.stopped = true;
            noteUnfinished(directory);
            m_state.RenamedCount = countBefore + static_cast<int>(row);
            return;
        }
        if (!plan.unchanged(row))
            renamed[row] = renameEntry(plan, row, journalIndex++);
        // Attributes go to the entry under the name it has now; a given-up rename keeps
        // its old name, so no other file can receive them.
        if (m_scope.setAttributes)
            setAttributes(plan.directoryBytes(row),
                renamed[row] ? plan.newNameBytes(row) : plan.oldNameBytes(row));
        m_state.RenamedCount = countBefore + static_cast<int>(row) + 1;
        m_observer.progress(m_state.RenamedCount);
        if (m_summary.stopped) { // Stop was answered for this entry
            noteUnfinished(directory);
            return;
        }
    }
}

void RenameRun::keepInUndo(UndoLog& plan, const std::vector<bool>& renamed)
{
    plan.retainRows(renamed);
    if (m_state.undo.empty()) {
        m_state.undo = std::move(plan);
        return;
    }
    for (std::size_t row = 0; row < plan.size(); ++row)
        m_state.undo.appendBytes(
            plan.directoryBytes(row), plan.oldNameBytes(row), plan.newNameBytes(row));
}

void RenameRun::noteUnfinished(std::u32string directory)
{
    // The pass of the entry's directory and every pass around it, innermost first: the
    // passes of the directories between it and the run's own directory.
    const std::u32string top = directoryText(m_scope.directory);
    for (;;) {
        m_summary.unfinished.push_back(directory);
        if (directory.size() <= top.size() || !directory.starts_with(top))
            return;
        const std::size_t slash = directory.rfind(U'/', directory.size() - 2);
        if (slash == std::u32string::npos)
            return;
        directory.resize(slash + 1);
    }
}

void RenameRun::tellWhatWasNotDone()
{
    if (!m_summary.unreadable.empty()) {
        std::u32string lines;
        for (const auto& error : m_summary.unreadable)
            lines += platform::decodeName(error.describe()) + U"\r\n";
        m_prompts.tell({ "RUN_UNREADABLE", Severity::Warning, lines });
    }
    if (!m_summary.attributesKept.empty())
        m_prompts.tell({ "ATTRIBUTI_NON_IMPOSTATI", Severity::Warning,
            lang::formatText(lang::addedText(lang::added::ATTRIBUTI_NON_IMPOSTATI),
                { static_cast<std::int64_t>(m_summary.attributesKept.size()) }) });
    if (!m_summary.error.empty())
        m_prompts.tell({ "RUN_ERROR", Severity::Error, m_summary.error });
}

std::u32string captionDone(const RunSummary& summary)
{
    // The count is of entries that really have a new name: a run whose every rename was
    // refused must not read as a success. Hours are folded into the minutes.
    const std::int64_t ms = summary.elapsedMs;
    return lang::formatText(text(lang::id::CAPTION_DONE),
        { platform::decodeName(kProgramTitle), std::int64_t { summary.renamed },
            std::int64_t { ms / 60000 }, std::int64_t { (ms / 1000) % 60 },
            Addzero(ms % 1000, 3) });
}

std::u32string runTitle(const RunSummary& summary)
{
    std::u32string title = captionDone(summary);
    if (!summary.givenUp.empty())
        title += lang::formatText(lang::addedText(lang::added::RUN_NON_RINOMINATI),
            { static_cast<std::int64_t>(summary.givenUp.size()) });
    if (summary.stopped)
        title += lang::addedText(lang::added::RUN_INTERROTTA);
    return title;
}

void RenameRun::Preview()
{
    m_summary = RunSummary {};
    m_state.previewRows = UndoLog {};
    // A preview is a pass of its own: it must not add to the count of the last run.
    m_state.RenamedCount = 0;
    if (!checkSelection())
        return;
    // What the run would rename, no more: a selection takes the place of the directories.
    m_scope.applySelection();
    Renamer(m_scope.directory, usesOrderList() ? &m_state.OrderList : nullptr, false, true);
}

void RenameRun::Renamer(
    std::u32string directory, const EntryList* list, bool listOnly, bool preview)
{
    PassEntries built;
    if (list != nullptr)
        directory = directoryText(std::move(directory));
    else
        built = listPass(directory, listOnly, preview);
    if (listOnly)
        return;
    // A real pass outside a run: plan it and carry it out at once.
    if (!preview) {
        const int countBefore = m_state.RenamedCount;
        UndoLog plan;
        planPass(directory, list, built, plan);
        executePlan(plan, countBefore);
        return;
    }
    planPass(directory, list, built, m_rows != nullptr ? *m_rows : m_state.previewRows);
}

void RenameRun::planPass(
    const std::u32string& directory, const EntryList* list, const PassEntries& built, UndoLog& rows)
{
    const std::string directoryBytes = platform::encodeName(directory);
    const std::size_t count = list != nullptr ? list->size() : built.size();
    // A run over one large directory knows its size before the first row: room for all
    // of them at once, instead of doubling (and briefly holding twice) as they come. New
    // names are about as long as the old ones.
    if (rows.empty() && list == nullptr)
        rows.reserve(count, 2 * built.nameBytesTotal() + built.nameBytesTotal() / 4);
    std::u32string decoded;
    std::int64_t counter = 1;
    for (std::size_t position = 0; position < count; ++position) {
        const std::u32string* entry = &decoded;
        if (list != nullptr)
            entry = &(*list)[position];
        else
            built.entryText(position, decoded);
        const std::u32string newName = TransformName(*entry, position, counter, m_options, m_state);
        ++m_state.RenamedCount;
        if (list != nullptr)
            rows.appendBytes(directoryBytes, platform::encodeName(nameOf(*entry)),
                platform::encodeName(newName));
        else
            rows.appendBytes(
                directoryBytes, built.nameBytes(position), platform::encodeName(newName));
        if (m_rowInodes != nullptr)
            m_rowInodes->push_back(list != nullptr ? 0 : built.inode(position));
    }
}

void RenameRun::setAttributes(std::string_view directory, std::string_view name)
{
    std::string path(directory);
    path.append(name);
    const platform::Status status = m_fs.setAttributes(path, m_scope.attributeValue());
    if (!status.ok())
        m_summary.attributesKept.push_back({ platform::decodeName(path), status.error() });
}

bool RenameRun::renameEntry(UndoLog& plan, std::size_t row, std::size_t journalIndex)
{
    JournalWriter* const journal
        = m_journal != nullptr && m_journal->active() ? m_journal : nullptr;
    // Buffers kept from entry to entry: a run of a million entries allocates none.
    m_renameDirectory.assign(plan.directoryBytes(row));
    m_renameFrom.assign(plan.oldNameBytes(row));
    m_renameTo.assign(plan.newNameBytes(row));
    for (;;) {
        const platform::Status status
            = renameInWithSilentRetries(m_fs, m_renameDirectory, m_renameFrom, m_renameTo);
        if (status.ok()) {
            if (journal != nullptr)
                journal->done(journalIndex);
            ++m_summary.renamed;
            m_observer.entryRenamed(
                plan.directoryBytes(row), plan.oldNameBytes(row), plan.newNameBytes(row));
            return true;
        }
        const std::u32string dirText = plan.directory(row);
        const std::u32string oldName = plan.oldName(row);
        const std::u32string newName = plan.newName(row);
        const RetryAnswer answer = m_skipAllRefused
            ? RetryAnswer { RetryAnswer::Action::SkipAll, {} }
            : askRetry(dirText, oldName, newName, status.error());
        if (journal != nullptr)
            journal->refused(journalIndex, status.error().code);
        platform::SysError reason = status.error();
        if (answer.action == RetryAnswer::Action::Retry) {
            if (answer.name == oldName)
                return false; // the user typed the old name back: nothing to do
            const std::string typed = platform::encodeName(answer.name);
            // A typed name is known from nowhere else: it is on disk before the rename.
            const platform::Status recorded
                = journal != nullptr ? journal->typed(journalIndex, typed) : platform::Status {};
            if (recorded.ok()) {
                plan.setNewName(row, typed);
                m_renameTo = typed;
                continue;
            }
            reason = recorded.error();
        }
        if (journal != nullptr)
            journal->givenUp(journalIndex);
        m_summary.givenUp.push_back({ dirText, oldName, newName, reason });
        m_observer.entryGivenUp(m_summary.givenUp.back());
        if (answer.action == RetryAnswer::Action::SkipAll)
            m_skipAllRefused = true;
        else if (answer.action == RetryAnswer::Action::Stop)
            m_summary.stopped = true;
        return false;
    }
}

RetryAnswer RenameRun::askRetry(const std::u32string& dirText, const std::u32string& oldName,
    const std::u32string& newName, const platform::SysError& error)
{
    m_observer.entryRefused(dirText, oldName, error);
    InputRequest request { "RINOMINA_IN_USO", retryCaption(error),
        lang::formatText(text(lang::id::RINOMINA_IN_USO), { oldName }), newName, oldName };
    for (;;) {
        RetryAnswer answer = m_prompts.askRenameRetry(request);
        // A typed "/" would move the entry elsewhere: refuse it and ask again.
        if (answer.action != RetryAnswer::Action::Retry || isAcceptableTypedName(answer.name))
            return answer;
        m_prompts.tell({ "CHAR_INVALIDI", Severity::Error, text(lang::id::CHAR_INVALIDI) });
        request.text = std::move(answer.name);
    }
}

std::u32string retryCaption(const platform::SysError& error)
{
    const std::int64_t code { error.code };
    // The box names the real reason: a taken name is not a file in use.
    if (isNotAnEntryName(error))
        return lang::formatText(lang::addedText(lang::added::NOME_NON_VALIDO), { code });
    if (error.code == EEXIST || error.code == ENOTEMPTY)
        return lang::formatText(lang::addedText(lang::added::NOME_GIA_USATO), { code });
    if (error.code == EBUSY || error.code == ETXTBSY)
        return lang::formatText(text(lang::id::FILE_IN_USO), { code });
    return lang::formatText(lang::addedText(lang::added::RINOMINA_RIFIUTATA),
        { platform::decodeName(error.text()), code });
}

} // namespace quorvane::engine
