// One directory's listed names, kept as their bytes in one buffer and read off the GUI thread.
#include "name_listing.h"

#include "platform/collator.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cstdint>

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
    const std::vector<std::uint32_t> order = collator.sortOrder(
        size(),
        [this](std::size_t i, std::u32string& text) { platform::decodeName(bytes(i), text); },
        &cancelled);
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
