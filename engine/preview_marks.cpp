// Marks on preview rows: which names change and which new names would collide.
#include "preview_marks.h"

#include "rename_retry.h"

#include "platform/name_codec.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvane::engine {

namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
constexpr std::size_t kRowsWorthAThread = 4096;

/// A name within one of the directories the rows touch, by the directory's number.
struct PlacedName
{
    std::uint32_t directory = 0;
    std::string_view name;

    bool operator==(const PlacedName&) const = default;
};

std::uint64_t hashOf(const PlacedName& key)
{
    return std::hash<std::string_view> {}(key.name) ^ (key.directory * 0x9E3779B97F4A7C15ULL);
}

/// Numbers (rows, entries on disk) found by the name each one stands for: open addressing
/// in one array, so that a million names cost no million allocations. Each slot keeps the
/// high half of its name's hash beside the number, so that a probe reads a name only when
/// the hashes agree: reading one is a trip to memory far from the table. The first number
/// put under a name stays; the table never grows past the size it was made for.
class NameTable
{
public:
    explicit NameTable(std::size_t count)
    {
        std::size_t size = 16;
        while (size < 2 * count)
            size *= 2;
        m_slots.assign(size, kEmpty);
    }

    /// The number already under `key`, or kNone after putting `number` there.
    template<typename KeyOf>
    std::uint32_t findOrPut(const PlacedName& key, std::uint32_t number, const KeyOf& keyOf)
    {
        const std::uint64_t hash = hashOf(key);
        std::uint64_t& slot = slotFor(key, hash, keyOf);
        if (slot != kEmpty)
            return numberIn(slot);
        slot = (hash & kTagBits) | number;
        return kNone;
    }

    template<typename KeyOf>
    [[nodiscard]] std::uint32_t find(const PlacedName& key, const KeyOf& keyOf)
    {
        return numberIn(slotFor(key, hashOf(key), keyOf));
    }

private:
    static constexpr std::uint64_t kEmpty = kNone;
    static constexpr std::uint64_t kTagBits = ~std::uint64_t { UINT32_MAX };

    static std::uint32_t numberIn(std::uint64_t slot)
    {
        return static_cast<std::uint32_t>(slot & UINT32_MAX);
    }

    template<typename KeyOf>
    std::uint64_t& slotFor(const PlacedName& key, std::uint64_t hash, const KeyOf& keyOf)
    {
        const std::size_t mask = m_slots.size() - 1;
        const std::uint64_t tag = hash & kTagBits;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            std::uint64_t& slot = m_slots[at];
            if (slot == kEmpty || ((slot & kTagBits) == tag && keyOf(numberIn(slot)) == key))
                return slot;
        }
    }

    std::vector<std::uint64_t> m_slots;
};

/// The names in the directories of the changed rows, each directory listed once.
class NamesOnDisk
{
public:
    /// Lists `directory` (file-name bytes) as number `id`. One that cannot be listed adds
    /// nothing: the real run would fail there anyway.
    void add(std::uint32_t id, std::string_view directory, const platform::FileSystem& fs)
    {
        const std::size_t bytesBefore = m_bytes.size();
        const std::size_t countBefore = m_ends.size();
        const platform::Status read = fs.visitDirectory(std::string(directory),
            platform::Detail::KindOnly, [&](const platform::DirEntry& entry) {
                m_bytes.append(entry.name);
                m_ends.push_back(m_bytes.size());
                m_directories.push_back(id);
            });
        if (!read.ok()) {
            m_bytes.resize(bytesBefore);
            m_ends.resize(countBefore);
            m_directories.resize(countBefore);
        }
    }

    [[nodiscard]] std::size_t size() const { return m_ends.size(); }

    [[nodiscard]] PlacedName at(std::uint32_t i) const
    {
        const std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return { m_directories[i], std::string_view(m_bytes).substr(begin, m_ends[i] - begin) };
    }

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends;
    std::vector<std::uint32_t> m_directories;
};

} // namespace

std::vector<PreviewMark> markPreviewRows(const UndoLog& rows, const platform::FileSystem& fs)
{
    const std::size_t count = rows.size();
    if (count >= kNone)
        throw std::length_error("too many rows to mark");
    std::vector<PreviewMark> marks(count);

    // Each row's directory by number; each directory with a changed row taken once.
    std::vector<std::uint32_t> directoryOf(count, 0);
    std::unordered_map<std::string_view, std::uint32_t> directoryIds;
    std::vector<std::string_view> directories; // by number
    std::size_t changedCount = 0;
    std::string_view lastDirectory;
    std::uint32_t lastId = kNone;
    for (std::size_t i = 0; i < count; ++i) {
        if (rows.unchanged(i))
            continue;
        marks[i].changed = true;
        ++changedCount;
        // Rows of one directory come together, so most rows skip the lookup.
        if (lastId == kNone || rows.directoryBytes(i) != lastDirectory) {
            lastDirectory = rows.directoryBytes(i);
            const auto [it, isNew] = directoryIds.try_emplace(
                lastDirectory, static_cast<std::uint32_t>(directoryIds.size()));
            lastId = it->second;
            if (isNew)
                directories.push_back(lastDirectory);
        }
        directoryOf[i] = lastId;
    }

    // Rows whose new name cannot be given at all: refused before the name reaches the
    // system, or by the system, which takes no name longer than its file system allows.
    // Asked before the listing starts: only one thread at a time uses `fs`.
    std::vector<std::size_t> longestName(directories.size(), 0); // 0: not known
    for (std::uint32_t id = 0; id < directories.size(); ++id)
        longestName[id] = fs.longestName(std::string(directories[id]));
    for (std::uint32_t row = 0; row < count; ++row) {
        if (!marks[row].changed)
            continue;
        const std::string_view newName = rows.newNameBytes(row);
        const std::size_t longest = longestName[directoryOf[row]];
        if (!isEntryName(newName))
            marks[row].refusal = kNotAnEntryName;
        else if (longest != 0 && newName.size() > longest)
            marks[row].refusal = ENAMETOOLONG;
    }

    // Listing a directory of a million entries is mostly the kernel's time: it goes on
    // while this thread works out the names the rows give. Only that task touches `fs` and
    // `onDisk` until its table is taken. A few rows are not worth a thread.
    NamesOnDisk onDisk;
    const auto diskNameOf = [&](std::uint32_t i) { return onDisk.at(i); };
    const std::launch policy
        = changedCount >= kRowsWorthAThread ? std::launch::async : std::launch::deferred;
    std::future<NameTable> listed = std::async(policy, [&] {
        for (std::uint32_t id = 0; id < directories.size(); ++id)
            onDisk.add(id, directories[id], fs);
        NameTable names(onDisk.size());
        for (std::uint32_t i = 0; i < onDisk.size(); ++i)
            (void)names.findOrPut(onDisk.at(i), i, diskNameOf);
        return names;
    });

    const auto newNameOf = [&](std::uint32_t row) {
        return PlacedName { directoryOf[row], rows.newNameBytes(row) };
    };
    const auto oldNameOf = [&](std::uint32_t row) {
        return PlacedName { directoryOf[row], rows.oldNameBytes(row) };
    };
    // A new name given by two changed rows of one directory marks both (and every other).
    // The first changed row that renames each old name away, rows being in run order.
    NameTable givenNames(changedCount);
    NameTable renamedAway(changedCount);
    for (std::uint32_t row = 0; row < count; ++row) {
        if (!marks[row].changed || marks[row].refusal != 0)
            continue;
        if (const std::uint32_t first = givenNames.findOrPut(newNameOf(row), row, newNameOf);
            first != kNone)
            marks[first].conflict = marks[row].conflict = true;
        (void)renamedAway.findOrPut(oldNameOf(row), row, oldNameOf);
    }

    NameTable diskNames = listed.get();
    for (std::uint32_t row = 0; row < count; ++row) {
        if (!marks[row].changed || marks[row].refusal != 0 || marks[row].conflict)
            continue;
        const PlacedName wanted = newNameOf(row);
        if (diskNames.find(wanted, diskNameOf) == kNone)
            continue;
        // The entry on disk is out of the way once a row up to this one has renamed it:
        // this row itself when the new name spells the old one's bytes differently.
        const std::uint32_t away = renamedAway.find(wanted, oldNameOf);
        marks[row].conflict = away == kNone || away > row;
    }
    return marks;
}

} // namespace quorvane::engine
