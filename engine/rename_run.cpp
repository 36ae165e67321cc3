// The rename run: per-directory passes, the rename loop and the timed run.
#include "rename_run.h"

#include "name_rules.h"
#include "rename_retry.h"
#include "transform_name.h"

#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
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
    return m_options.RinominadaFile1 || m_options.RinominadaCDDB1 || m_state.NumCustomOrder;
}

void RenameRun::RunRename(const std::u32string& directory)
{
    const auto start = std::chrono::steady_clock::now();
    m_state.undo = UndoLog {};
    m_summary.ran = true;
    m_observer.runStarted();
    try {
        Renamer(directory, usesOrderList() ? &m_state.OrderList : nullptr, false, false);
    } catch (const std::exception& e) {
        // What was renamed before the error stays logged, so it can still be undone; the
        // caller enables "Annulla" from the summary whatever ended the run.
        m_summary.error = platform::decodeName(e.what());
    }
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
    Renamer(m_scope.directory, usesOrderList() ? &m_state.OrderList : nullptr, false, true);
}

void RenameRun::Renamer(
    std::u32string directory, const EntryList* list, bool listOnly, bool preview)
{
    EntryList built;
    if (list != nullptr)
        directory = directoryText(std::move(directory));
    else
        built = Make_List_Of_File(directory, listOnly, preview);
    if (listOnly)
        return;

    const EntryList& entries = list != nullptr ? *list : built;
    const std::string dirBytes = platform::encodeName(directory);
    std::int64_t counter = 1;
    std::size_t position = 0;
    for (const std::u32string& entry : entries) {
        if (m_summary.stopped || (!preview && m_observer.stopRequested())) {
            m_summary.stopped = true;
            break;
        }
        std::u32string oldName = extract_name(entry);
        std::u32string newName = TransformName(entry, position, counter, m_options, m_state);
        ++m_state.RenamedCount;
        if (preview) {
            m_state.previewRows.append(directory, std::move(oldName), std::move(newName));
        } else {
            const std::u32string finalName
                = newName == oldName ? oldName : renameEntry(directory, oldName, newName);
            // Attributes go to the entry under the name it has now; a given-up rename
            // keeps its old name, so no other file can receive them.
            if (m_scope.setAttributes)
                setAttributes(directory, finalName);
            m_observer.progress(m_state.RenamedCount);
        }
        ++position;
    }
    if (m_summary.stopped)
        m_summary.unfinished.push_back(directory);
}

void RenameRun::setAttributes(const std::u32string& directory, const std::u32string& name)
{
    const platform::Status status
        = m_fs.setAttributes(platform::encodeName(directory + name), m_scope.attributeValue());
    if (!status.ok())
        m_summary.attributesKept.push_back({ directory + name, status.error() });
}

std::u32string RenameRun::renameEntry(
    const std::u32string& dirText, const std::u32string& oldName, std::u32string newName)
{
    const std::string dirBytes = platform::encodeName(dirText);
    const std::string from = dirBytes + platform::encodeName(oldName);
    for (;;) {
        if (newName == oldName)
            return oldName; // the user typed the old name back: nothing to do
        const platform::Status status
            = renameWithSilentRetries(m_fs, from, dirBytes + platform::encodeName(newName));
        if (status.ok()) {
            m_state.undo.append(dirText, oldName, newName);
            ++m_summary.renamed;
            m_observer.entryRenamed(dirText, oldName, newName);
            return newName;
        }
        const RetryAnswer answer = m_skipAllRefused
            ? RetryAnswer { RetryAnswer::Action::SkipAll, {} }
            : askRetry(dirText, oldName, newName, status.error());
        if (answer.action == RetryAnswer::Action::Retry) {
            newName = answer.name;
            continue;
        }
        m_summary.givenUp.push_back({ dirText, oldName, newName, status.error() });
        m_observer.entryGivenUp(m_summary.givenUp.back());
        if (answer.action == RetryAnswer::Action::SkipAll)
            m_skipAllRefused = true;
        else if (answer.action == RetryAnswer::Action::Stop)
            m_summary.stopped = true;
        return oldName;
    }
}

RetryAnswer RenameRun::askRetry(const std::u32string& dirText, const std::u32string& oldName,
    const std::u32string& newName, const platform::SysError& error)
{
    m_observer.entryRefused(dirText, oldName, error);
    InputRequest request { "RINOMINA_IN_USO", retryCaption(error),
        lang::formatText(text(lang::id::RINOMINA_IN_USO), { oldName }), newName };
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
    if (error.code == EEXIST || error.code == ENOTEMPTY)
        return lang::formatText(lang::addedText(lang::added::NOME_GIA_USATO), { code });
    if (error.code == EBUSY || error.code == ETXTBSY)
        return lang::formatText(text(lang::id::FILE_IN_USO), { code });
    return lang::formatText(lang::addedText(lang::added::RINOMINA_RIFIUTATA),
        { platform::decodeName(error.text()), code });
}

} // namespace quorvane::engine
