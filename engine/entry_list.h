// Entries of a run: a name followed by its kind letter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

inline constexpr char32_t kFileKind = U'F';
inline constexpr char32_t kDirKind = U'D';

/// Texts, each a name (no directory) followed by "F" (file) or "D" (directory).
using EntryList = std::vector<std::u32string>;

/// The entry without its kind letter.
[[nodiscard]] inline std::u32string extract_name(std::u32string_view entry)
{
    return std::u32string(entry.empty() ? entry : entry.substr(0, entry.size() - 1));
}

/// The kind letter alone.
[[nodiscard]] inline char32_t dir_or_file(std::u32string_view entry)
{
    return entry.empty() ? U'\0' : entry.back();
}

} // namespace quorvane::engine
