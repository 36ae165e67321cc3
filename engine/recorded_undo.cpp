// Undo of a recorded run, decided by looking at the disk.
#include "recorded_undo.h"

#include "journal_writer.h"
#include "rename_retry.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/journal_file.h"
#include "platform/name_codec.h"
#include "platform/posix_rename.h"

#include <algorithm>

namespace quorvane::engine {

namespace {

/// As many as the platform's case-only rename tries.
constexpr int kTemporaryAttempts = 8;

/// FAT keeps modification times in steps of two seconds, and a driver may hand out a finer
/// time while the entry is in memory than it reads back from the disk later.
constexpr std::int64_t kFatTimeStep = 2'000'000'000;

std::int64_t fatTimeSteps(std::int64_t ns)
{
    return ns >= 0 ? ns / kFatTimeStep : (ns - kFatTimeStep + 1) / kFatTimeStep;
}

/// The entry recorded on a volume without stable inode numbers, told by what it is. A
/// renamed entry keeps its type, size (of a file: a directory's grows with its entries) and
/// birth time. Its modification time is the recorded one, or, since some drivers (fusefat)
/// stamp an entry anew when they rename it, and the renames in it touch a directory, one
/// from the run's start on; an entry changed after the run is then told apart by its size.
bool sameEntryWithoutNumbers(const platform::FileIdentity& recorded,
    const platform::FileIdentity& found, std::int64_t journalCreated)
{
    if (found.type != recorded.type || recorded.type == 0)
        return false;
    if (!recorded.isDirectory() && found.size != recorded.size)
        return false;
    if (recorded.birthNs != 0 && found.birthNs != 0 && recorded.birthNs != found.birthNs)
        return false;
    const std::int64_t steps = fatTimeSteps(found.mtimeNs);
    return steps == fatTimeSteps(recorded.mtimeNs)
        || (journalCreated > 0 && steps >= fatTimeSteps(journalCreated) - 1);
}

bool holds(
    const std::string& path, const platform::FileIdentity& identity, std::int64_t journalCreated)
{
    const auto found = platform::fileIdentity(path);
    if (!found.ok())
        return false;
    if (!identity.stableNumbers)
        return sameEntryWithoutNumbers(identity, found.value(), journalCreated);
    if (!found.value().sameEntry(identity))
        return false;
    // The plan took most inode numbers from the directory listing, without birth times: a
    // file born after the journal began cannot be one the run planned to rename.
    const std::uint64_t born = found.value().birthNs;
    return journalCreated <= 0 || born == 0 || born <= static_cast<std::uint64_t>(journalCreated);
}

/// True when the directory lists exactly these bytes. On a case-insensitive volume two
/// spellings of one name reach the same entry; only the listing says which one it bears.
bool listsExactly(const std::string& directory, const std::string& name)
{
    const auto names = platform::directoryNames(directory);
    return names.ok() && std::ranges::find(names.value(), name) != names.value().end();
}

/// The undo's plan: the run's, reversed.
std::vector<JournalEntry> reversedPlan(const JournalContents& run)
{
    std::vector<JournalEntry> reversed;
    reversed.reserve(run.entries.size());
    for (std::size_t index = run.entries.size(); index-- > 0;) {
        const JournalEntry& entry = run.entries[index];
        reversed.push_back(
            { entry.directory, entry.newName, entry.oldName, entry.identity, entry.caseChange });
    }
    return reversed;
}

/// The run certainly never renamed this entry: its journal gave it up, or was closed (every
/// rename it made is then recorded) without recording one for it.
bool neverRenamed(const JournalContents& run, const JournalProgress& progress)
{
    return !progress.done && (progress.givenUp || run.closed);
}

} // namespace

LocatedEntry locateEntry(
    const JournalEntry& entry, const JournalProgress& progress, std::int64_t journalCreated)
{
    if (!entry.identity.known())
        return {};
    std::vector<std::string> candidates(progress.typedNames.rbegin(), progress.typedNames.rend());
    candidates.push_back(entry.newName);
    const std::string from = entry.directory + entry.oldName;
    // Looked for even when the journal does not call the change one of letter case alone:
    // the volume, not the names, decides whether the rename went through a temporary name.
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string temporary = platform::caseRenameTemporaryName(from, attempt);
        candidates.push_back(temporary.substr(temporary.rfind('/') + 1));
    }

    const bool atOldName = holds(from, entry.identity, journalCreated);
    for (const std::string& name : candidates) {
        if (name == entry.oldName || !holds(entry.directory + name, entry.identity, journalCreated))
            continue;
        // Both spellings reach the entry: a case-insensitive volume (or two hard links);
        // the listing decides which name it really bears.
        if (atOldName && listsExactly(entry.directory, entry.oldName))
            return { EntryPlace::NotRenamed, entry.oldName };
        return { EntryPlace::Renamed, name };
    }
    if (atOldName)
        return { EntryPlace::NotRenamed, entry.oldName };
    return {};
}

RecordedUndo::RecordedUndo(
    platform::FileSystem& fs, const JournalStore& store, Prompts& prompts, RunObserver& observer)
    : m_fs(fs)
    , m_store(store)
    , m_prompts(prompts)
    , m_observer(observer)
{ }

std::optional<RecordedRun> RecordedUndo::target(const std::string& id) const
{
    const std::vector<RecordedRun> runs = m_store.runs();
    const auto named = [&](const std::string& wanted) -> std::optional<RecordedRun> {
        const auto it = std::ranges::find(runs, wanted, &RecordedRun::id);
        return it == runs.end() ? std::nullopt : std::optional(*it);
    };
    std::optional<RecordedRun> chosen
        = id.empty() ? (runs.empty() ? std::nullopt : std::optional(runs.back())) : named(id);
    if (chosen && chosen->kind == JournalKind::Undo)
        chosen = named(chosen->undoneRun);
    return chosen;
}

RecordedUndoReport RecordedUndo::undo(const std::string& id)
{
    RecordedUndoReport report;
    const std::optional<RecordedRun> run = target(id);
    const std::optional<JournalContents> contents = run ? m_store.load(run->id) : std::nullopt;
    if (!contents) {
        report.refusal = RecordedUndoReport::Refusal::NoSuchRun;
        return report;
    }
    report.undoneRun = run->id;
    // Never race a run that another process is still carrying out.
    const std::optional<RecordedRun> latest = m_store.latest();
    if (run->running || (latest && latest->running && latest->undoneRun == run->id)) {
        report.refusal = RecordedUndoReport::Refusal::Running;
        return report;
    }
    if (run->state == RecordedState::Undone) {
        report.refusal = RecordedUndoReport::Refusal::AlreadyUndone;
        report.refused = lang::addedText(lang::added::GIA_ANNULLATA);
        return report;
    }

    JournalWriter journal(m_store.directory());
    if (m_journaled) {
        // Where each entry is now is decided as the undo reaches it, because a parent
        // directory renamed back first changes the paths of everything inside it.
        const platform::Status begun = journal.begin(
            JournalKind::Undo, contents->directory, reversedPlan(*contents), run->id);
        if (!begun.ok() && !proceedWithoutJournal(m_prompts, begun.error())) {
            report.refusal = RecordedUndoReport::Refusal::NoJournal;
            report.refused = platform::decodeName(begun.error().describe());
            return report;
        }
        if (begun.ok())
            report.journal = journal.id();
    }
    m_observer.runStarted();
    std::vector<Step> steps;
    undoEntries(*contents, journal.active() ? &journal : nullptr, report, steps);
    if (journal.active())
        journal.close(report.restored, report.notRestored.size());
    else
        recordAfterwards(*contents, run->id, steps, report);
    return report;
}

void RecordedUndo::recordAfterwards(const JournalContents& run, const std::string& runId,
    const std::vector<Step>& steps, RecordedUndoReport& report)
{
    JournalWriter record(m_store.directory());
    if (!record.begin(JournalKind::Undo, run.directory, reversedPlan(run), runId).ok()) {
        report.recorded = false;
        return;
    }
    for (std::size_t step = 0; step < steps.size(); ++step) {
        if (steps[step] == Step::Done)
            record.done(step);
        else
            record.givenUp(step);
    }
    record.close(report.restored, report.notRestored.size());
    report.journal = record.id();
}

void RecordedUndo::undoEntries(const JournalContents& run, JournalWriter* journal,
    RecordedUndoReport& report, std::vector<Step>& steps)
{
    const std::size_t count = run.entries.size();
    steps.assign(count, Step::GivenUp);
    for (std::size_t step = 0; step < count; ++step) {
        // Last first, as the in-session undo: a parent gets its old name back before the
        // entries whose recorded paths go through it.
        const std::size_t index = count - 1 - step;
        const JournalEntry& entry = run.entries[index];
        if (neverRenamed(run, run.progress[index])) {
            // Whatever holds its names now (another run at the same time, the user) is
            // none of this undo's business.
            ++report.notRenamedByRun;
            if (journal != nullptr)
                journal->givenUp(step);
            m_observer.progress(static_cast<int>(step + 1));
            continue;
        }
        const LocatedEntry where = locateEntry(entry, run.progress[index], run.created);
        const std::u32string dir = platform::decodeName(entry.directory);
        if (where.place == EntryPlace::NotRenamed) {
            // It has the name the undo gives it: done, as far as the undo's journal goes.
            ++report.unchanged;
            steps[step] = Step::Done;
            if (journal != nullptr)
                journal->done(step);
        } else if (where.place == EntryPlace::Changed) {
            report.notRestored.push_back({ entry.directory + entry.newName, entry.oldName, 0 });
            if (journal != nullptr)
                journal->givenUp(step);
            m_observer.entryGivenUp({ dir, platform::decodeName(entry.newName),
                platform::decodeName(entry.oldName), platform::SysError { 0, "changed since" } });
        } else {
            const platform::Status status
                = renameWithSilentRetries(m_fs, entry.directory, where.name, entry.oldName);
            if (status.ok()) {
                ++report.restored;
                steps[step] = Step::Done;
                if (journal != nullptr)
                    journal->done(step);
                m_observer.entryRenamed(entry.directory, where.name, entry.oldName);
            } else {
                report.notRestored.push_back(
                    { entry.directory + where.name, entry.oldName, status.error().code });
                if (journal != nullptr) {
                    journal->refused(step, status.error().code);
                    journal->givenUp(step);
                }
                m_observer.entryGivenUp({ dir, platform::decodeName(where.name),
                    platform::decodeName(entry.oldName), status.error() });
            }
        }
        m_observer.progress(static_cast<int>(step + 1));
    }
}

} // namespace quorvane::engine
