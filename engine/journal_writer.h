// Writes one run's journal: the plan made durable before the first rename, then its
// progress in batches.
#pragma once

#include "journal_format.h"
#include "prompts.h"

#include "platform/journal_file.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvane::engine {

/// The directory of the journals: $XDG_STATE_HOME/quorvane/runs (default
/// ~/.local/state/quorvane/runs); empty when no home is known.
[[nodiscard]] std::string defaultRunsDirectory();

/// How many journals are kept; older ones are removed when a new one is written.
inline constexpr std::size_t kKeptJournals = 50;

/// One journal file. begin() must succeed before the first rename; the progress calls are
/// then cheap (buffered, written in batches without fsync), except typed(), which is on
/// disk when it returns because the rename that follows it is known from nowhere else.
/// Destroyed without close(), it writes what is buffered and leaves the run interrupted.
class JournalWriter
{
public:
    explicit JournalWriter(std::string runsDirectory);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    /// Creates the journal, writes the header and every entry, then fsyncs the file and
    /// the directory. Unknown identities are read from the disk (dir + old name) here, and
    /// so is every identity on a volume without stable inode numbers (recorded so); the
    /// temporary name of a change of letter case alone is filled in. On failure no journal
    /// remains and nothing may be renamed under it. Removes journals beyond kKeptJournals.
    [[nodiscard]] platform::Status begin(JournalKind kind, std::string_view directory,
        std::vector<JournalEntry> entries, std::string_view undoneRun = {});

    /// The plan's entries one at a time: fills `entry` with the next one (the same object
    /// each time), false when there is none left.
    using EntrySource = std::function<bool(JournalEntry& entry)>;
    /// The same as above with the entries drawn from `next` and written as they come, so
    /// that a plan of a million entries is never held a second time as journal entries.
    [[nodiscard]] platform::Status beginFrom(JournalKind kind, std::string_view directory,
        const EntrySource& next, std::string_view undoneRun = {});

    /// Creates the journal file ahead of begin() and has it synced in the background while
    /// the caller works out its plan. Right after heavy work on the volume (a large copy or
    /// delete) the first sync waits for the file system to settle; begun this early, that
    /// wait overlaps the planning instead of delaying the first rename. Optional: a failure
    /// here is left for begin() to meet and report, and a journal prepared but never begun
    /// is removed by the destructor.
    void prepare();

    /// Begun and not yet closed.
    [[nodiscard]] bool active() const { return m_begun && m_file.isOpen(); }
    /// The run's id (the journal's file name without ".journal"), once begun.
    [[nodiscard]] const std::string& id() const { return m_id; }

    /// The next attempt renames entry `index` to `name`; on disk before it returns.
    [[nodiscard]] platform::Status typed(std::size_t index, std::string_view name);
    void done(std::size_t index);
    void refused(std::size_t index, int error);
    void givenUp(std::size_t index);
    /// The closing record, written and synced. The journal is finished afterwards.
    void close(std::size_t renamed, std::size_t failed);

private:
    void flushIfFull();
    void flush();
    void awaitSettling();
    /// Writes the run of done entries gathered so far into the pending bytes.
    void endDoneRun();
    [[nodiscard]] platform::Status create();

    std::string m_directory;
    std::string m_id;
    std::string m_path;
    platform::AppendFile m_file;
    std::thread m_settling; ///< the background sync started by prepare()
    bool m_begun = false;
    std::string m_pending;
    std::size_t m_doneFirst = 0; ///< entries m_doneFirst .. + m_doneCount - 1 are done
    std::size_t m_doneCount = 0;
};

/// Asks, after begin() failed, whether to rename without a journal (REGISTRO_NON_SCRIVIBILE,
/// No by default); true to go on.
[[nodiscard]] bool proceedWithoutJournal(Prompts& prompts, const platform::SysError& error);

/// The identity-less part of an entry: what the run means to do, names as bytes.
[[nodiscard]] JournalEntry plannedEntry(
    std::string directory, std::string oldName, std::string newName);

} // namespace quorvane::engine
