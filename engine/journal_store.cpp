// The recorded runs: the journals of the runs directory, read back for history and undo.
#include "journal_store.h"

#include "platform/file_content.h"
#include "platform/journal_file.h"

#include <algorithm>
#include <map>

namespace quorvane::engine {

namespace {

/// Far above any real run (100,000 entries take a few megabytes); a bigger file is not ours.
constexpr std::size_t kMaxJournalBytes = std::size_t { 1 } << 30U;

} // namespace

JournalStore::JournalStore(std::string directory)
    : m_directory(std::move(directory))
{ }

std::vector<std::string> JournalStore::ids() const
{
    std::vector<std::string> ids;
    auto names = platform::directoryNames(m_directory);
    if (!names.ok())
        return ids;
    for (const std::string& name : names.value()) {
        if (name.size() > kJournalSuffix.size() && name.ends_with(kJournalSuffix))
            ids.push_back(name.substr(0, name.size() - kJournalSuffix.size()));
    }
    // Ids are UTC times written with fixed widths: their order is the order of the runs.
    std::ranges::sort(ids);
    return ids;
}

std::optional<JournalContents> JournalStore::load(const std::string& id) const
{
    // An id is a file name of this directory, never a path.
    if (id.empty() || id.find('/') != std::string::npos || id.starts_with('.'))
        return std::nullopt;
    auto bytes = platform::readFileContent(
        m_directory + "/" + id + std::string(kJournalSuffix), kMaxJournalBytes);
    if (!bytes.ok())
        return std::nullopt;
    return decodeJournal(bytes.value());
}

namespace {

RecordedRun describeContents(
    const std::string& directory, std::string id, const JournalContents& contents)
{
    RecordedRun run;
    run.id = std::move(id);
    run.kind = contents.kind;
    run.created = contents.created;
    run.directory = contents.directory;
    run.entries = contents.entries.size();
    run.renamed = contents.closed ? static_cast<std::size_t>(contents.closedRenamed)
                                  : static_cast<std::size_t>(std::ranges::count(
                                      contents.progress, true, &JournalProgress::done));
    // A run that closed its journal before reaching every entry was stopped on its way. An
    // undo always goes through its whole plan (and older undo journals left the entries
    // that already had their names without a record).
    const bool reachedAll = std::ranges::all_of(
        contents.progress, [](const JournalProgress& p) { return p.done || p.givenUp; });
    if (!contents.closed)
        run.state = RecordedState::Interrupted;
    else if (contents.kind != JournalKind::Undo && !reachedAll)
        run.state = RecordedState::Stopped;
    else
        run.state = RecordedState::Complete;
    run.undoneRun = contents.undoneRun;
    run.running = !contents.closed
        && platform::isLockedByAnother(directory + "/" + run.id + std::string(kJournalSuffix));
    return run;
}

} // namespace

std::optional<RecordedRun> JournalStore::describe(const std::string& id) const
{
    const std::optional<JournalContents> contents = load(id);
    if (!contents || !contents->started)
        return std::nullopt;
    return describeContents(m_directory, id, *contents);
}

std::optional<RecordedRun> JournalStore::latest() const
{
    const std::vector<std::string> all = ids();
    // Newest first; a journal whose plan never reached the disk stands for nothing.
    for (std::size_t index = all.size(); index-- > 0;) {
        if (std::optional<RecordedRun> run = describe(all[index]))
            return run;
    }
    return std::nullopt;
}

std::vector<RecordedRun> JournalStore::runs() const
{
    std::vector<RecordedRun> runs;
    std::map<std::string, std::size_t> byId;
    for (const std::string& id : ids()) {
        const std::optional<JournalContents> contents = load(id);
        if (!contents || !contents->started)
            continue;
        byId[id] = runs.size();
        runs.push_back(describeContents(m_directory, id, *contents));
        // A finished undo that restored everything it found marks its run undone; one
        // that left names behind does not, so the run can be undone again.
        if (contents->kind == JournalKind::Undo && contents->closed && contents->closedFailed == 0)
            if (const auto target = byId.find(contents->undoneRun); target != byId.end())
                runs[target->second].state = RecordedState::Undone;
    }
    return runs;
}

void JournalStore::prune(std::size_t keep) const
{
    const std::vector<std::string> all = ids();
    for (std::size_t i = 0; i + keep < all.size(); ++i)
        (void)platform::removeJournalFile(m_directory + "/" + all[i] + std::string(kJournalSuffix));
}

} // namespace quorvane::engine
