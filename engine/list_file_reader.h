// A list file read from disk for the list modes.
#pragma once

#include "list_file.h"

#include "platform/file_system.h"

#include <cstddef>
#include <string>

namespace quorvane::engine {

/// The first `maxNames` names of the list file at `path` (bytes), read as readListNames
/// reads them. A path that is missing, a directory or unreadable is refused like a file
/// that is no list, with the reason in `refusal`.
[[nodiscard]] ListFileNames readListFile(const platform::FileSystem& fs, const std::string& path,
    std::size_t maxNames, ListKind kind = ListKind::NewNames);

} // namespace quorvane::engine
