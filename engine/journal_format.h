// The run journal's file format: records with a checksum each, written and read back.
//
// A journal file starts with the 8 bytes "QVJRNL3\n" (version 3; versions 1 and 2,
// "QVJRNL1\n" and "QVJRNL2\n", are still read) and holds records, each
//   u32 payload length | u32 CRC-32 (IEEE, as zlib) of the payload | payload
// (integers little-endian). A payload is a type byte and the type's fields, where a number
// is a u64 and a byte string is a u32 length and its bytes (names exactly as on disk):
//   'H' header:   kind byte ('R' run, 'U' undo, 'F' one file, 'D' a directory), creation
//                 time (nanoseconds since the epoch), directory, id of the run undone (undo
//                 only)
//   'P' path:     a directory (ending in "/"); the n-th 'P' record is directory n
//   'E' entry:    directory number, old name, new name, the entry's device, inode and birth
//                 time in ns (0 when unknown), and a flags byte: 1 when the names differ only
//                 in letter case, so that on a case-insensitive volume the entry passes through
//                 the temporary name caseRenameTemporaryName(directory + old name, attempt)
//   'B' entries:  (version 2) entries packed one after the other up to the payload's end,
//                 each told by its difference from the entry before it (the previous entry
//                 of the journal, whatever record held it; before the first one, empty names
//                 and zeros). Numbers here are LEB128 varints, signed ones zigzag-coded:
//                   flags byte: 1 letter case only (as in 'E'), 2 a directory number
//                     follows (else the previous entry's), 4 a device follows (else the
//                     previous entry's), 8 (version 3) the volume's inode numbers are not
//                     stable: the entry's type, size and modification time follow
//                   [directory number] [device]
//                   old name, then new name, each against the previous entry's same name:
//                     bytes shared at the start, bytes shared at the end, count and bytes
//                     of the middle
//                   inode minus the previous inode, birth minus the previous birth (signed)
//                   [type (the S_IFMT bits), size, modification time in ns minus the
//                     previous entry's (signed; 0 for an entry without flag 8)]
//   'S' start:    every entry is written and on disk; renames may follow
//   'T' typed:    index, a name typed by the user that the entry is renamed to next
//   'D' done:     index; the entry has its new (or last typed) name
//   'R' done run: (version 2) first index, count: entries first .. first + count - 1 done
//   'X' refused:  index, errno of a refused rename
//   'G' given up: index; the entry keeps its old name
//   'C' close:    renamed count, count of entries that kept their names
// Entries are numbered from 0 in the order they are written. A record that is cut off or
// fails its checksum ends the readable part of a file: whatever follows it is ignored.
// A large run's plan is fsynced before its first rename, which is why entries are packed:
// sorted names share most of their bytes with the name before them.
#pragma once

#include "platform/journal_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvane::engine {

inline constexpr std::string_view kJournalMagic = "QVJRNL3\n";
/// The earlier versions' magic: such journals are read as well.
inline constexpr std::string_view kJournalMagicVersion1 = "QVJRNL1\n";
inline constexpr std::string_view kJournalMagicVersion2 = "QVJRNL2\n";

/// What a journal records.
enum class JournalKind : char {
    Run = 'R', ///< a rename run
    Undo = 'U', ///< the undo of an earlier run
    OneFile = 'F', ///< the file list's single-file rename
    Directory = 'D', ///< the rename of the current directory
};

/// One planned rename. Names are bytes as on disk.
struct JournalEntry
{
    std::string directory; ///< ends in "/"
    std::string oldName;
    std::string newName;
    platform::FileIdentity identity; ///< of the entry before the run; unknown when unreadable
    /// The names differ only in letter case: on a case-insensitive volume the rename passes
    /// through caseRenameTemporaryName(directory + oldName, attempt).
    bool caseChange = false;
};

/// What happened to one entry, as far as the progress records tell.
struct JournalProgress
{
    std::vector<std::string> typedNames; ///< in the order they were typed
    bool done = false;
    bool givenUp = false;
    int lastError = 0;
};

/// A journal as read back.
struct JournalContents
{
    JournalKind kind = JournalKind::Run;
    std::int64_t created = 0; ///< nanoseconds since the epoch
    std::string directory;
    std::string undoneRun; ///< for an undo: the id of the run it reverses
    std::vector<std::string> directories; ///< by number, as the 'P' records give them
    std::vector<JournalEntry> entries;
    std::vector<JournalProgress> progress; ///< index-aligned with entries
    bool started = false; ///< the plan was complete and durable ('S' seen)
    bool closed = false; ///< the closing record was seen
    std::uint64_t closedRenamed = 0;
    std::uint64_t closedFailed = 0;
    bool torn = false; ///< bytes after the last good record were ignored
};

/// CRC-32 (IEEE 802.3, reflected, as zlib's crc32).
[[nodiscard]] std::uint32_t crc32(std::string_view bytes);

/// Builds records: each call appends complete records to `out`. Directories are written
/// once each ('P') and entries refer to them by number. Planned entries are packed into
/// 'B' records as they come; finishEntries() writes the last one, before anything else is
/// written after the entries.
class JournalEncoder
{
public:
    /// The number of `directory`, writing its 'P' record the first time it is met.
    std::uint64_t directoryNumber(std::string& out, const std::string& directory);
    void plannedEntry(std::string& out, const JournalEntry& entry);
    /// Writes the entries still being packed.
    void finishEntries(std::string& out);

    static void header(std::string& out, JournalKind kind, std::int64_t created,
        std::string_view directory, std::string_view undoneRun);
    static void start(std::string& out);
    static void typed(std::string& out, std::uint64_t index, std::string_view name);
    static void done(std::string& out, std::uint64_t index);
    /// Entries `first` to `first + count - 1` are done (count > 0).
    static void doneRange(std::string& out, std::uint64_t first, std::uint64_t count);
    static void refused(std::string& out, std::uint64_t index, int error);
    static void givenUp(std::string& out, std::uint64_t index);
    static void close(std::string& out, std::uint64_t renamed, std::uint64_t failed);

private:
    std::unordered_map<std::string, std::uint64_t> m_directories;
    const std::string* m_lastDirectory = nullptr; ///< entries come in runs of one directory
    std::uint64_t m_lastNumber = 0;
    /// The 'B' payload being filled, and the entry the next one is told against.
    std::string m_packed;
    std::uint64_t m_previousDirectory = 0;
    std::string m_previousOld;
    std::string m_previousNew;
    platform::FileIdentity m_previousIdentity;
    bool m_anyEntry = false;
};

/// Reads a whole journal file's bytes. nullopt when the bytes are not a journal (wrong
/// magic, or no complete header record).
[[nodiscard]] std::optional<JournalContents> decodeJournal(std::string_view bytes);

} // namespace quorvane::engine
