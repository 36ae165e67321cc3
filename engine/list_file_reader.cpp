// A list file read from disk for the list modes.
#include "list_file_reader.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace quorvane::engine {

ListFileNames readListFile(
    const platform::FileSystem& fs, const std::string& path, std::size_t maxNames, ListKind kind)
{
    ListFileNames refused;
    const auto info = fs.status(path, platform::Links::Follow);
    if (!info.ok()) {
        refused.refusal = info.error().text();
        return refused;
    }
    // A directory opens as a stream on Linux and reads as nothing: say what it is.
    if (info.value().kind == platform::EntryKind::Directory) {
        refused.refusal = "it is a directory";
        return refused;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        refused.refusal = std::strerror(errno);
        return refused;
    }
    return readListNames(file, maxNames, kind);
}

} // namespace quorvane::engine
