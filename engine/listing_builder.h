// The text of a directory listing, written one directory block at a time.
#pragma once

#include "listing_format.h"
#include "listing_options.h"

#include "platform/collator.h"
#include "platform/file_system.h"
#include "platform/sys_error.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// Receives the listing in pieces, in order: the title (when on), then each directory's
/// block whole. Every line of a piece ends with CR LF. Names are code points and may hold
/// the U+DC80+byte escapes of undecodable bytes; the output decides how to show them.
using ListingSink = std::function<void(std::u32string_view text)>;

/// What is listed: the directory and the file-type mask ("*.mp3;*.ogg", "*.*").
struct ListingSource
{
    std::u32string directory;
    std::u32string mask = U"*.*";
};

/// How a listing went.
struct ListingReport
{
    /// The directory itself could not be read: nothing at all was written.
    std::optional<platform::SysError> failure;
    /// Subdirectories that could not be read; each was written as one without matches.
    std::vector<platform::SysError> unreadable;
    /// How many directory blocks were written.
    std::size_t blocks = 0;
};

/// Writes the listing of `source` with `options` to `sink`. Entries that match the mask are
/// listed (hidden and system ones too), sorted by their line without regard to letter case;
/// with PrintSubdirs every subdirectory that is neither hidden nor system follows as a block
/// of its own, breadth first, siblings in name order. Symbolic links are
/// listed as entries and never followed. Only one directory's lines are held at a time.
[[nodiscard]] ListingReport writeListing(const platform::FileSystem& fs,
    const ListingSource& source, const ListingOptions& options, const ListingDateFormat& dates,
    const platform::Collator& collator, const ListingSink& sink);

/// The directory as headings show it and paths are built from it: with a final "/".
[[nodiscard]] std::u32string listingDirectoryText(std::u32string directory);

} // namespace quorvane::engine
