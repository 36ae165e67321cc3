// The recorded runs: the journals of the runs directory, read back for history and undo.
#pragma once

#include "journal_format.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

inline constexpr std::string_view kJournalSuffix = ".journal";

/// Where a recorded run stands.
enum class RecordedState {
    Complete, ///< the run reached its end
    /// The run was stopped before its end (Escape, Stop, a signal, an error) and closed its
    /// journal: the entries not reached kept their names.
    Stopped,
    Interrupted, ///< the program stopped before the run's end (crash, kill, power loss)
    Undone, ///< a later undo restored every entry it could find
};

/// One line of the history.
struct RecordedRun
{
    std::string id;
    JournalKind kind = JournalKind::Run;
    std::int64_t created = 0; ///< nanoseconds since the epoch
    std::string directory; ///< bytes
    std::size_t entries = 0; ///< planned renames
    /// Entries the run renamed (an undo: gave their names back); for a journal that was not
    /// closed, those recorded so far.
    std::size_t renamed = 0;
    RecordedState state = RecordedState::Complete;
    std::string undoneRun; ///< for an undo: the run it reverses
    /// Not closed because a process is still writing it (its journal is locked): neither
    /// interrupted nor to be undone yet.
    bool running = false;
};

/// The journals of one directory. Journals whose plan never became durable are left out:
/// nothing was renamed under them.
class JournalStore
{
public:
    explicit JournalStore(std::string directory);

    [[nodiscard]] const std::string& directory() const { return m_directory; }
    /// Every recorded run, oldest first. An unreadable directory gives none.
    [[nodiscard]] std::vector<RecordedRun> runs() const;
    /// The newest recorded run, reading no other journal than the ones it needs; its state
    /// is Complete or Interrupted (whether a later undo restored it is not looked at).
    [[nodiscard]] std::optional<RecordedRun> latest() const;
    /// One recorded run as latest() describes it; nullopt when missing or never started.
    [[nodiscard]] std::optional<RecordedRun> describe(const std::string& id) const;
    /// One journal read back; nullopt when it is missing or not a journal.
    [[nodiscard]] std::optional<JournalContents> load(const std::string& id) const;
    /// Removes the oldest journals so that at most `keep` remain.
    void prune(std::size_t keep) const;

private:
    [[nodiscard]] std::vector<std::string> ids() const;

    std::string m_directory;
};

} // namespace quorvane::engine
