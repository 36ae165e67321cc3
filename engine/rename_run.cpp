// The rename run: per-directory passes, the rename loop and the timed run.
#include "rename_run.h"

#include "name_rules.h"
#include "rename_retry.h"
#include "transform_name.h"

#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <quorvane_version.h>

#include <chrono>

namespace quorvane::engine {

namespace {

std::u32string text(std::string_view constant)
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
    RenameOptions& options, RunState& state, RunScope& scope, Prompts& prompts, RunHooks& hooks)
    : m_fs(fs)
    , m_collator(collator)
    , m_options(options)
    , m_state(state)
    , m_scope(scope)
    , m_prompts(prompts)
    , m_hooks(hooks)
{ }

bool RenameRun::usesOrderList() const
{
    return m_options.RinominadaFile1 || m_options.RinominadaCDDB1 || m_state.NumCustomOrder;
}

void RenameRun::RunRename(const std::u32string& directory)
{
    const auto start = std::chrono::steady_clock::now();
    m_state.undo = UndoLog {};
    try {
        Renamer(directory, usesOrderList() ? &m_state.OrderList : nullptr, false, false);
    } catch (const RunError& e) {
        // What was renamed before the error stays logged, so it can still be undone.
        m_report.error = platform::decodeName(e.what());
    }
    m_hooks.refreshLists();
    if (m_options.NumerazioneFiles1)
        m_state.LastNumberedDir = directory;
    m_options.NumerazioneFiles1 = false;

    // A monotonic clock: a run across midnight or a clock change never shows a negative
    // time. Hours are folded into the minutes rather than dropped.
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start)
                             .count();
    m_hooks.setTitle(lang::formatText(text("CAPTION_DONE"),
        { platform::decodeName(kProgramTitle), std::int64_t { m_state.RenamedCount },
            std::int64_t { elapsed / 60000 }, std::int64_t { (elapsed / 1000) % 60 },
            Addzero(elapsed % 1000, 3) }));
    m_hooks.setUndoEnabled(true);

    if (!m_report.unreadable.empty()) {
        std::u32string lines;
        for (const auto& error : m_report.unreadable)
            lines += platform::decodeName(error.describe()) + U"\r\n";
        m_prompts.tell({ "RUN_UNREADABLE", Severity::Warning, lines });
    }
    if (!m_report.error.empty())
        m_prompts.tell({ "RUN_ERROR", Severity::Error, m_report.error });
}

void RenameRun::Preview()
{
    m_state.previewRows = UndoLog {};
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
        std::u32string oldName = extract_name(entry);
        std::u32string newName = TransformName(entry, position, counter, m_options, m_state);
        ++m_state.RenamedCount;
        if (preview) {
            m_state.previewRows.append(directory, std::move(oldName), std::move(newName));
        } else {
            const std::u32string finalName
                = newName == oldName ? oldName : renameEntry(directory, oldName, newName);
            // Attributes go to the entry under the name it has now; a given-up rename
            // keeps its old name, so no other file can receive them. Failures are silent.
            if (!m_scope.RadioButton1)
                (void)m_fs.setAttributes(
                    dirBytes + platform::encodeName(finalName), m_scope.attributeValue());
        }
        ++position;
        m_hooks.progress(m_state.RenamedCount);
    }
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
            return newName;
        }
        std::optional<std::u32string> typed = askRetry(oldName, newName, status.error());
        if (!typed) {
            m_report.givenUp.push_back({ dirText, oldName, newName, status.error() });
            return oldName;
        }
        newName = std::move(*typed);
    }
}

std::optional<std::u32string> RenameRun::askRetry(
    const std::u32string& oldName, const std::u32string& newName, const platform::SysError& error)
{
    m_hooks.refreshFileList();
    InputRequest request { "RINOMINA_IN_USO",
        lang::formatText(text("FILE_IN_USO"), { std::int64_t { error.code } }),
        lang::formatText(text("RINOMINA_IN_USO"), { oldName }), newName };
    for (;;) {
        std::optional<std::u32string> answer = m_prompts.input(request);
        // A typed "/" would move the entry elsewhere: refuse it and ask again.
        if (!answer || isAcceptableTypedName(*answer))
            return answer;
        m_prompts.tell({ "CHAR_INVALIDI", Severity::Error, text("CHAR_INVALIDI") });
        request.text = std::move(*answer);
    }
}

} // namespace quorvane::engine
