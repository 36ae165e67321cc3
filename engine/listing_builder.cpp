// The text of a directory listing, written one directory block at a time.
#include "listing_builder.h"

#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace quorvane::engine {

namespace {

constexpr std::u32string_view kLineEnd = U"\r\n";

/// Lines sorted as the user's locale sorts them, letter case aside; equal keys keep a fixed
/// order by code point, so the same directory always gives the same text.
void sortLines(std::vector<std::u32string>& lines, const platform::Collator& collator)
{
    std::vector<std::pair<std::string, std::u32string>> keyed;
    keyed.reserve(lines.size());
    for (std::u32string& line : lines) {
        std::string key = collator.sortKey(line);
        keyed.emplace_back(std::move(key), std::move(line));
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        lines[i] = std::move(keyed[i].second);
}

bool isListedSubdirectory(const platform::DirEntry& entry)
{
    return entry.kind == platform::EntryKind::Directory && !entry.name.starts_with('.')
        && (entry.attributes & (platform::kHidden | platform::kSystem)) == 0;
}

/// Appends the subdirectories to visit to `pending`, by name as the user's locale sorts
/// them: readdir's order is the file system's hash order, and the same tree should give
/// the same listing every time.
void queueSubdirectories(const std::u32string& directory,
    const std::vector<platform::DirEntry>& entries, const platform::Collator& collator,
    std::deque<std::u32string>& pending)
{
    std::vector<std::pair<std::string, std::u32string>> names;
    for (const platform::DirEntry& entry : entries) {
        if (!isListedSubdirectory(entry))
            continue;
        std::u32string name = platform::decodeName(entry.name);
        std::string key = collator.sortKey(name);
        names.emplace_back(std::move(key), std::move(name));
    }
    std::sort(names.begin(), names.end());
    for (auto& [key, name] : names)
        pending.push_back(directory + name + U'/');
}

class ListingWriter
{
public:
    ListingWriter(const ListingOptions& options, const ListingDateFormat& dates,
        const platform::Collator& collator, const ListingSink& sink)
        : m_options(options)
        , m_dates(dates)
        , m_collator(collator)
        , m_sink(sink)
    { }

    /// The block of one directory from its entries; nullptr entries mean it could not be
    /// read, which reads as a directory without matches.
    void writeBlock(const std::u32string& directory, const std::vector<platform::DirEntry>* entries,
        const std::u32string& mask)
    {
        std::vector<std::u32string> lines;
        std::int64_t files = 0;
        std::int64_t directories = 0;
        bool matched = false;
        if (entries != nullptr) {
            for (const platform::DirEntry& entry : *entries) {
                if (!platform::matchesMask(platform::decodeName(entry.name), mask))
                    continue;
                matched = true;
                if (isDirectoryEntry(entry)) {
                    if (!m_options.PrintDirNames)
                        continue;
                    ++directories;
                } else {
                    ++files;
                }
                lines.push_back(entryLine(entry, m_options, m_dates));
            }
        }
        std::u32string block;
        if (matched) {
            if (m_options.PrintHeading) {
                block += lang::LookupConstant(lang::id::FILES_IN_DIR) + U" : "
                    + printableName(directory);
                block += kLineEnd;
                block += kLineEnd;
            }
            sortLines(lines, m_collator);
            for (const std::u32string& line : lines) {
                block += line;
                block += kLineEnd;
            }
        }
        if (m_options.PrintTotals) {
            block += kLineEnd;
            block += lang::formatText(lang::LookupConstant(lang::id::TOTALE_X_FILES), { files });
            if (m_options.PrintDirNames)
                block
                    += lang::formatText(lang::LookupConstant(lang::id::E_X_DIRS), { directories });
        }
        for (int i = 0; i < 4; ++i)
            block += kLineEnd;
        m_sink(block);
    }

private:
    const ListingOptions& m_options;
    const ListingDateFormat& m_dates;
    const platform::Collator& m_collator;
    const ListingSink& m_sink;
};

} // namespace

std::u32string listingDirectoryText(std::u32string directory)
{
    if (!directory.ends_with(U'/'))
        directory += U'/';
    return directory;
}

ListingReport writeListing(const platform::FileSystem& fs, const ListingSource& source,
    const ListingOptions& options, const ListingDateFormat& dates,
    const platform::Collator& collator, const ListingSink& sink)
{
    ListingReport report;
    ListingWriter writer(options, dates, collator, sink);
    // Only the directories still to be visited are kept, not every one seen so far.
    std::deque<std::u32string> pending { listingDirectoryText(source.directory) };
    bool first = true;
    while (!pending.empty()) {
        const std::u32string directory = std::move(pending.front());
        pending.pop_front();
        const std::string bytes = platform::encodeName(directory);
        auto listing = fs.listDirectory(bytes, platform::Detail::Full);
        if (first) {
            // A directory that cannot be read at all must not pass for an empty one.
            if (!listing.ok()) {
                report.failure = listing.error();
                return report;
            }
            if (options.PrintTitle) {
                std::u32string title = printableName(options.PrintTitleText);
                title += kLineEnd;
                title += kLineEnd;
                sink(title);
            }
            first = false;
        }
        if (!listing.ok())
            report.unreadable.push_back(listing.error());
        const std::vector<platform::DirEntry>* entries = listing.ok() ? &listing.value() : nullptr;
        if (options.PrintSubdirs && entries != nullptr)
            queueSubdirectories(directory, *entries, collator, pending);
        writer.writeBlock(directory, entries, source.mask);
        ++report.blocks;
    }
    return report;
}

} // namespace quorvane::engine
