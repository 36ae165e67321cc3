// Names from a list file, and their pairing with the files of a directory.
#pragma once

#include "entry_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// The destination names of a list file's bytes: every non-empty line in file order, not
/// trimmed; lines end at CR LF or a lone LF; a Ctrl-Z byte ends the file. The bytes are
/// read as UTF-8 when valid (a BOM dropped), otherwise as Windows-1252.
[[nodiscard]] std::vector<std::u32string> readListLines(std::string_view bytes);

/// The new names of the files of `sources` (entries "nameF") as the list dialog confirms
/// them with its defaults: row i takes line i; a file without a line keeps its base name;
/// with keepExtension, a source's extension is appended ("." + extension) to its new name.
/// Lines beyond the last file are ignored.
[[nodiscard]] std::vector<std::u32string> alignTargetNames(
    const EntryList& sources, const std::vector<std::u32string>& lines, bool keepExtension);

} // namespace quorvane::engine
