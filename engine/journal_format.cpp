// The run journal's file format: records with a checksum each, written and read back.
#include "journal_format.h"

#include <array>
#include <limits>

namespace quorvane::engine {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table {};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1U) : c >> 1U;
        table[n] = c;
    }
    return table;
}

/// Table k gives the CRC of a byte followed by k zero bytes, so that eight bytes are taken
/// in one step: the journal of a large run checksums megabytes before its first rename.
constexpr std::array<std::array<std::uint32_t, 256>, 8> makeCrcTables()
{
    std::array<std::array<std::uint32_t, 256>, 8> tables {};
    tables[0] = makeCrcTable();
    for (std::size_t n = 0; n < 256; ++n) {
        for (std::size_t k = 1; k < 8; ++k)
            tables[k][n] = (tables[k - 1][n] >> 8U) ^ tables[0][tables[k - 1][n] & 0xFFU];
    }
    return tables;
}

constexpr std::array<std::array<std::uint32_t, 256>, 8> kCrcTables = makeCrcTables();

template<typename Unsigned>
void putLittleEndian(std::string& out, Unsigned value)
{
    std::array<char, sizeof(Unsigned)> bytes {};
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        bytes[i] = static_cast<char>((value >> (8U * i)) & 0xFFU);
    out.append(bytes.data(), bytes.size());
}

void putU32(std::string& out, std::uint32_t value)
{
    putLittleEndian(out, value);
}

void putU64(std::string& out, std::uint64_t value)
{
    putLittleEndian(out, value);
}

void putBytes(std::string& out, std::string_view bytes)
{
    putU32(out, static_cast<std::uint32_t>(bytes.size()));
    out.append(bytes);
}

/// Appends the frame around a payload that was built at the end of `out` from `start` on.
class Record
{
public:
    Record(std::string& out, char type)
        : m_out(out)
        , m_frame(out.size())
    {
        out.append(8, '\0'); // length and checksum, filled in by the destructor
        out.push_back(type);
    }
    ~Record()
    {
        const std::string_view payload = std::string_view(m_out).substr(m_frame + 8);
        const auto size = static_cast<std::uint32_t>(payload.size());
        const std::uint32_t checksum = crc32(payload);
        for (std::size_t i = 0; i < 4; ++i) {
            m_out[m_frame + i] = static_cast<char>((size >> (8U * i)) & 0xFFU);
            m_out[m_frame + 4 + i] = static_cast<char>((checksum >> (8U * i)) & 0xFFU);
        }
    }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

private:
    std::string& m_out;
    std::size_t m_frame;
};

/// Reads fields of one payload; any overrun makes ok() false.
class FieldReader
{
public:
    explicit FieldReader(std::string_view payload)
        : m_rest(payload)
    { }
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] bool atEnd() const { return m_rest.empty(); }

    std::uint64_t number() { return fixed(8); }
    std::uint32_t length() { return static_cast<std::uint32_t>(fixed(4)); }
    char byte()
    {
        if (m_rest.empty()) {
            m_ok = false;
            return 0;
        }
        const char c = m_rest.front();
        m_rest.remove_prefix(1);
        return c;
    }
    std::string bytes()
    {
        const std::uint32_t size = length();
        if (!m_ok || size > m_rest.size()) {
            m_ok = false;
            return {};
        }
        std::string value(m_rest.substr(0, size));
        m_rest.remove_prefix(size);
        return value;
    }

private:
    std::uint64_t fixed(unsigned width)
    {
        if (m_rest.size() < width) {
            m_ok = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i)
            value |= std::uint64_t { static_cast<unsigned char>(m_rest[i]) } << (8U * i);
        m_rest.remove_prefix(width);
        return value;
    }

    std::string_view m_rest;
    bool m_ok = true;
};

/// Applies one record to `contents`; false when the payload does not parse.
bool applyRecord(std::string_view payload, JournalContents& contents, bool& haveHeader)
{
    FieldReader in(payload);
    const char type = in.byte();
    if (!haveHeader && type != 'H')
        return false;
    const auto progressAt = [&](std::uint64_t index) -> JournalProgress* {
        return index < contents.progress.size() ? &contents.progress[index] : nullptr;
    };
    switch (type) {
    case 'H': {
        contents.kind = static_cast<JournalKind>(in.byte());
        contents.created = static_cast<std::int64_t>(in.number());
        contents.directory = in.bytes();
        contents.undoneRun = in.bytes();
        haveHeader = true;
        break;
    }
    case 'P':
        contents.directories.push_back(in.bytes());
        break;
    case 'E': {
        JournalEntry entry;
        const std::uint64_t directory = in.number();
        if (directory >= contents.directories.size())
            return false;
        entry.directory = contents.directories[directory];
        entry.oldName = in.bytes();
        entry.newName = in.bytes();
        entry.identity.device = in.number();
        entry.identity.inode = in.number();
        entry.identity.birthNs = in.number();
        entry.caseChange = (static_cast<unsigned char>(in.byte()) & 1U) != 0;
        if (!in.ok())
            return false;
        contents.entries.push_back(std::move(entry));
        contents.progress.emplace_back();
        break;
    }
    case 'S':
        contents.started = true;
        break;
    case 'T': {
        const std::uint64_t index = in.number();
        std::string name = in.bytes();
        JournalProgress* progress = progressAt(index);
        if (!in.ok() || progress == nullptr)
            return false;
        progress->typedNames.push_back(std::move(name));
        break;
    }
    case 'D':
    case 'G':
    case 'X': {
        JournalProgress* progress = progressAt(in.number());
        const int error = type == 'X' ? static_cast<int>(in.number()) : 0;
        if (!in.ok() || progress == nullptr)
            return false;
        progress->done = progress->done || type == 'D';
        progress->givenUp = progress->givenUp || type == 'G';
        if (type == 'X')
            progress->lastError = error;
        break;
    }
    case 'C':
        contents.closedRenamed = in.number();
        contents.closedFailed = in.number();
        contents.closed = true;
        break;
    default:
        return false;
    }
    return in.ok() && in.atEnd();
}

} // namespace

std::uint32_t crc32(std::string_view bytes)
{
    const auto byteAt = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    const auto& t = kCrcTables;
    std::uint32_t c = 0xFFFFFFFFU;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        const std::uint32_t low = c
            ^ (byteAt(i) | (byteAt(i + 1) << 8U) | (byteAt(i + 2) << 16U) | (byteAt(i + 3) << 24U));
        const std::uint32_t high = byteAt(i + 4) | (byteAt(i + 5) << 8U) | (byteAt(i + 6) << 16U)
            | (byteAt(i + 7) << 24U);
        c = t[7][low & 0xFFU] ^ t[6][(low >> 8U) & 0xFFU] ^ t[5][(low >> 16U) & 0xFFU]
            ^ t[4][low >> 24U] ^ t[3][high & 0xFFU] ^ t[2][(high >> 8U) & 0xFFU]
            ^ t[1][(high >> 16U) & 0xFFU] ^ t[0][high >> 24U];
    }
    for (; i < bytes.size(); ++i)
        c = t[0][(c ^ byteAt(i)) & 0xFFU] ^ (c >> 8U);
    return c ^ 0xFFFFFFFFU;
}

void JournalEncoder::header(std::string& out, JournalKind kind, std::int64_t created,
    std::string_view directory, std::string_view undoneRun)
{
    const Record record(out, 'H');
    out.push_back(static_cast<char>(kind));
    putU64(out, static_cast<std::uint64_t>(created));
    putBytes(out, directory);
    putBytes(out, undoneRun);
}

std::uint64_t JournalEncoder::directoryNumber(std::string& out, const std::string& directory)
{
    if (m_lastDirectory != nullptr && *m_lastDirectory == directory)
        return m_lastNumber;
    const auto [it, added] = m_directories.try_emplace(directory, m_directories.size());
    if (added) {
        const Record record(out, 'P');
        putBytes(out, directory);
    }
    m_lastDirectory = &it->first;
    m_lastNumber = it->second;
    return it->second;
}

void JournalEncoder::plannedEntry(std::string& out, const JournalEntry& entry)
{
    const std::uint64_t directory = directoryNumber(out, entry.directory);
    const Record record(out, 'E');
    putU64(out, directory);
    putBytes(out, entry.oldName);
    putBytes(out, entry.newName);
    putU64(out, entry.identity.device);
    putU64(out, entry.identity.inode);
    putU64(out, entry.identity.birthNs);
    out.push_back(static_cast<char>(entry.caseChange ? 1 : 0));
}

void JournalEncoder::start(std::string& out)
{
    const Record record(out, 'S');
}

void JournalEncoder::typed(std::string& out, std::uint64_t index, std::string_view name)
{
    const Record record(out, 'T');
    putU64(out, index);
    putBytes(out, name);
}

void JournalEncoder::done(std::string& out, std::uint64_t index)
{
    const Record record(out, 'D');
    putU64(out, index);
}

void JournalEncoder::refused(std::string& out, std::uint64_t index, int error)
{
    const Record record(out, 'X');
    putU64(out, index);
    putU64(out, static_cast<std::uint64_t>(error));
}

void JournalEncoder::givenUp(std::string& out, std::uint64_t index)
{
    const Record record(out, 'G');
    putU64(out, index);
}

void JournalEncoder::close(std::string& out, std::uint64_t renamed, std::uint64_t failed)
{
    const Record record(out, 'C');
    putU64(out, renamed);
    putU64(out, failed);
}

std::optional<JournalContents> decodeJournal(std::string_view bytes)
{
    if (!bytes.starts_with(kJournalMagic))
        return std::nullopt;
    bytes.remove_prefix(kJournalMagic.size());
    JournalContents contents;
    bool haveHeader = false;
    while (!bytes.empty()) {
        FieldReader frame(bytes);
        const std::uint32_t length = frame.length();
        const std::uint32_t checksum = frame.length();
        if (!frame.ok() || bytes.size() - 8 < length) {
            contents.torn = true;
            break;
        }
        const std::string_view payload = bytes.substr(8, length);
        // A record cut off by a crash or overwritten by garbage ends what can be trusted.
        if (crc32(payload) != checksum || !applyRecord(payload, contents, haveHeader)) {
            contents.torn = true;
            break;
        }
        bytes.remove_prefix(8 + std::size_t { length });
    }
    if (!haveHeader)
        return std::nullopt;
    return contents;
}

} // namespace quorvane::engine
