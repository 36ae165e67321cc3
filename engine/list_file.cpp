// Names from a list file, and their pairing with the files of a directory.
#include "list_file.h"

#include "name_rules.h"

#include "platform/name_codec.h"

namespace quorvane::engine {

std::vector<std::u32string> readListLines(std::string_view bytes)
{
    if (const auto eof = bytes.find('\x1A'); eof != std::string_view::npos)
        bytes = bytes.substr(0, eof);
    const std::u32string text = platform::decodeTextFile(bytes);

    std::vector<std::u32string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(U'\n', start);
        if (end == std::u32string::npos)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == U'\r')
            --stop;
        if (stop > start)
            lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::u32string> alignTargetNames(
    const EntryList& sources, const std::vector<std::u32string>& lines, bool keepExtension)
{
    std::vector<std::u32string> targets;
    targets.reserve(sources.size());
    for (std::size_t row = 0; row < sources.size(); ++row) {
        const std::u32string source = extract_name(sources[row]);
        const SplitName split = SplitExt(source);
        std::u32string target = row < lines.size() ? lines[row] : split.base;
        if (keepExtension && !split.ext.empty())
            target += U'.' + split.ext;
        targets.push_back(std::move(target));
    }
    return targets;
}

} // namespace quorvane::engine
