// One directory's listed names, kept as their bytes in one buffer and read off the GUI thread.
#include "name_listing.h"

#include "platform/collator.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace quorvane::app {

std::string_view NameListing::bytes(std::size_t i) const
{
    const std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
    return std::string_view(m_bytes).substr(begin, m_ends[i] - begin);
}

std::u32string NameListing::name(std::size_t i) const
{
    return platform::decodeName(bytes(i));
}

void NameListing::append(std::string_view bytes)
{
    m_bytes.append(bytes);
    m_ends.push_back(m_bytes.size());
}

bool NameListing::sort(const platform::Collator& collator, const std::atomic<bool>& cancelled)
{
    // One collation key per name, kept like the names in one buffer, then plain byte
    // comparisons: comparing through the collator inside the sort would cost a full collation
    // per comparison, and a string per key would double the memory of a large listing.
    std::string keys;
    std::vector<std::size_t> keyEnds;
    keyEnds.reserve(size());
    std::u32string decoded; // one buffer for every name, not an allocation each
    for (std::size_t i = 0; i < size(); ++i) {
        if (cancelled.load(std::memory_order_relaxed))
            return false;
        platform::decodeName(bytes(i), decoded);
        collator.appendSortKey(decoded, keys);
        keyEnds.push_back(keys.size());
    }
    const auto keyOf = [&](std::uint32_t i) {
        const std::size_t begin = i == 0 ? 0 : keyEnds[i - 1];
        return std::string_view(keys).substr(begin, keyEnds[i] - begin);
    };
    std::vector<std::uint32_t> order(size());
    std::iota(order.begin(), order.end(), 0U);
    std::ranges::sort(order, [&](std::uint32_t a, std::uint32_t b) {
        if (const int byKey = keyOf(a).compare(keyOf(b)); byKey != 0)
            return byKey < 0;
        // Equal keys are rare (names differing only in letter case): decoding then is cheap.
        return name(a) < name(b);
    });
    if (cancelled.load(std::memory_order_relaxed))
        return false;

    NameListing sorted;
    sorted.m_bytes.reserve(m_bytes.size());
    sorted.m_ends.reserve(size());
    for (const std::uint32_t i : order)
        sorted.append(bytes(i));
    *this = std::move(sorted);
    return true;
}

std::optional<DirectoryListing> readListing(const platform::FileSystem& fileSystem,
    const platform::Collator& collator, const std::string& dir, std::u32string_view mask,
    const std::atomic<bool>& cancelled)
{
    DirectoryListing listing;
    if (dir.empty())
        return listing;
    // "*.*", the usual mask, takes every name: no name needs decoding to be matched then.
    const bool everyName = platform::matchesEveryName(mask);
    std::u32string decoded;
    const platform::Status read = fileSystem.visitDirectory(
        dir, platform::Detail::KindOnly, [&](const platform::DirEntry& entry) {
            // A superseded read still has to let the listing run out; it does no more work.
            if (entry.kind == platform::EntryKind::Directory
                || cancelled.load(std::memory_order_relaxed))
                return;
            if (!everyName) {
                platform::decodeName(entry.name, decoded);
                if (!platform::matchesMask(decoded, mask))
                    return;
            }
            listing.names.append(entry.name);
        });
    if (cancelled.load(std::memory_order_relaxed))
        return std::nullopt;
    if (!read.ok()) {
        listing.error = read.error();
        listing.names = {};
        return listing;
    }
    if (!listing.names.sort(collator, cancelled))
        return std::nullopt;
    return listing;
}

} // namespace quorvane::app
