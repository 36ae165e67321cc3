// One directory's listed names, kept as their bytes in one buffer and read off the GUI thread.
#pragma once

#include "platform/sys_error.h"

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {
class Collator;
class FileSystem;
} // namespace quorvane::platform

namespace quorvane::app {

/// Names as the directory gives them (their bytes), back to back in one buffer with the end
/// of each: a million names cost their bytes and eight more each, not a string object each.
class NameListing
{
public:
    [[nodiscard]] std::size_t size() const { return m_ends.size(); }
    [[nodiscard]] bool empty() const { return m_ends.empty(); }
    /// The bytes of name `i` (i < size()); valid until the listing changes.
    [[nodiscard]] std::string_view bytes(std::size_t i) const;
    /// Name `i` decoded losslessly (see platform::decodeName).
    [[nodiscard]] std::u32string name(std::size_t i) const;

    void append(std::string_view bytes);
    /// Puts the names in the collator's order, ties in code-point order. Returns false, with
    /// the order unspecified, when `cancelled` became true meanwhile.
    [[nodiscard]] bool sort(const platform::Collator& collator, const std::atomic<bool>& cancelled);

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends;
};

/// What one read of a directory gives the file list.
struct DirectoryListing
{
    NameListing names;
    /// Why the directory could not be read; the names are then empty.
    std::optional<platform::SysError> error;
};

/// Lists `dir` (bytes; empty gives an empty listing): every entry that is not a directory
/// (by the entry's own kind, so a link to a directory counts) and whose name matches `mask`,
/// sorted by `collator`. Safe on any thread as long as `fileSystem` and `collator` are not
/// used elsewhere meanwhile in ways that are not thread-safe. Returns nullopt as soon as it
/// sees `cancelled` set.
[[nodiscard]] std::optional<DirectoryListing> readListing(const platform::FileSystem& fileSystem,
    const platform::Collator& collator, const std::string& dir, std::u32string_view mask,
    const std::atomic<bool>& cancelled);

} // namespace quorvane::app
