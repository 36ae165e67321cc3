// Names from a list file, and their pairing with the files of a directory.
#include "list_file.h"

#include "name_rules.h"

#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <istream>

namespace quorvane::engine {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr char kCtrlZ = '\x1A';

/// The lines of one list file as they stream in: the raw bytes of the lines kept so far,
/// joined by LF, which no kept line holds.
class ListLineReader
{
public:
    ListLineReader(std::size_t wanted, ListKind kind)
        : m_wanted(wanted)
        , m_keepEmpty(kind == ListKind::TrackTitles)
        , m_newNames(kind != ListKind::Entries)
    { }

    /// Takes the next bytes; false once enough lines are kept, the file ended (Ctrl-Z) or
    /// it was refused.
    [[nodiscard]] bool feed(std::string_view bytes);
    /// The file began with a UTF-8 byte-order mark, which was not fed.
    void markUtf8() { m_bom = true; }
    /// The last line, which had no line end (none when the file ends with one).
    void finish()
    {
        if (!m_line.empty())
            endLine();
    }
    [[nodiscard]] ListFileNames result();

private:
    void endLine();
    void refuseLongLine();
    [[nodiscard]] bool done() const { return m_kept == m_wanted || m_ended || !m_refusal.empty(); }

    std::size_t m_wanted;
    std::size_t m_kept = 0;
    std::size_t m_lineNumber = 1;
    std::string m_line;
    std::string m_joined;
    std::string m_refusal;
    bool m_keepEmpty;
    bool m_newNames;
    bool m_ended = false;
    bool m_bom = false;
};

bool ListLineReader::feed(std::string_view bytes)
{
    for (const char byte : bytes) {
        if (byte == kCtrlZ) {
            endLine();
            m_ended = true;
        } else if (byte == '\n') {
            endLine();
            ++m_lineNumber;
        } else {
            m_line.push_back(byte);
            // Even a final CR would leave too much: the line is refused before it grows.
            if (m_line.size() > kMaxListLineBytes + 1)
                refuseLongLine();
        }
        if (done())
            break;
    }
    return !done();
}

void ListLineReader::refuseLongLine()
{
    m_refusal = "line " + std::to_string(m_lineNumber) + " is longer than "
        + std::to_string(kMaxListLineBytes) + " bytes";
}

void ListLineReader::endLine()
{
    if (done())
        return;
    std::string line = std::move(m_line);
    m_line.clear();
    if (line.ends_with('\r'))
        line.pop_back();
    if (line.empty() && !m_keepEmpty)
        return;
    if (line.size() > kMaxListLineBytes) {
        refuseLongLine();
        return;
    }
    // A control byte would become part of a file name: a NUL cuts it short on disk, an ESC
    // turns every listing of the directory into terminal commands, and a CR that does not
    // end the line would join two names into one.
    const auto control = std::ranges::find_if(line, [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
    if (control != line.end()) {
        std::array<char, 8> hex {};
        std::snprintf(hex.data(), hex.size(), "0x%02X", static_cast<unsigned char>(*control));
        m_refusal
            = "line " + std::to_string(m_lineNumber) + " holds the control byte " + hex.data();
        return;
    }
    // A leading dot hides the file it names, and later runs leave it alone; ".." with the
    // kept extension would become such a name too.
    if (m_newNames && line.starts_with('.')) {
        m_refusal = "line " + std::to_string(m_lineNumber)
            + " begins with \".\", which would hide the file";
        return;
    }
    if (m_kept > 0)
        m_joined.push_back('\n');
    m_joined += line;
    ++m_kept;
}

ListFileNames ListLineReader::result()
{
    if (!m_refusal.empty())
        return { {}, std::move(m_refusal) };
    ListFileNames read;
    if (m_kept == 0)
        return read;
    // The lines read decide the encoding: they are the ones that become names.
    // A byte-order mark says UTF-8 whatever follows, as for any text file of the program.
    const std::u32string text
        = m_bom ? platform::decodeName(m_joined) : platform::decodeTextFile(m_joined);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(U'\n', start);
        if (end == std::u32string::npos)
            end = text.size();
        read.names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return read;
}

} // namespace

ListFileNames readListNames(std::istream& in, std::size_t maxNames, ListKind kind)
{
    ListLineReader reader(std::max<std::size_t>(maxNames, 1), kind);
    // Reading takes this buffer and the lines kept, however large the file is.
    std::array<char, 65536> buffer {};
    bool first = true;
    for (;;) {
        in.read(buffer.data(), buffer.size());
        std::string_view chunk(buffer.data(), static_cast<std::size_t>(in.gcount()));
        if (in.bad())
            return { {}, "it could not be read" };
        // A full buffer is asked for, so the first chunk holds the whole mark if there is one.
        if (first && chunk.starts_with(kBom)) {
            reader.markUtf8();
            chunk.remove_prefix(kBom.size());
        }
        first = false;
        if (!reader.feed(chunk))
            break;
        if (in.eof()) {
            reader.finish();
            break;
        }
    }
    ListFileNames read = reader.result();
    if (maxNames == 0)
        read.names.clear();
    return read;
}

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

std::u32string withSourceExtension(
    std::u32string name, std::u32string_view source, bool keepExtension)
{
    if (const SplitName split = SplitExt(source); keepExtension && !split.ext.empty())
        name += U'.' + split.ext;
    return name;
}

std::vector<std::u32string> alignTargetNames(
    const EntryList& sources, const std::vector<std::u32string>& lines, bool keepExtension)
{
    std::vector<std::u32string> targets;
    targets.reserve(sources.size());
    for (std::size_t row = 0; row < sources.size(); ++row) {
        std::u32string source = extract_name(sources[row]);
        // A file without a name keeps its own, extension and all, whichever way the
        // extension of the named files is decided.
        if (row >= lines.size() || lines[row].empty()) {
            targets.push_back(std::move(source));
            continue;
        }
        targets.push_back(withSourceExtension(lines[row], source, keepExtension));
    }
    return targets;
}

} // namespace quorvane::engine
