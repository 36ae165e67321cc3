// The run journal's file format: records with a checksum each, written and read back.
#include "journal_format.h"

#include <algorithm>
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

/// Packed entries are written in records of about this size.
constexpr std::size_t kPackedBytes = std::size_t { 32 } * 1024;

void putVarint(std::string& out, std::uint64_t value)
{
    while (value >= 0x80U) {
        out.push_back(static_cast<char>((value & 0x7FU) | 0x80U));
        value >>= 7U;
    }
    out.push_back(static_cast<char>(value));
}

/// `now - before` as a small number when the two are close, in either direction.
std::uint64_t zigzagDifference(std::uint64_t now, std::uint64_t before)
{
    const std::uint64_t difference = now - before; // modulo 2^64, undone the same way
    return (difference << 1U) ^ ((difference >> 63U) != 0 ? ~std::uint64_t { 0 } : 0);
}

std::uint64_t addZigzag(std::uint64_t before, std::uint64_t zigzag)
{
    const std::uint64_t difference
        = (zigzag >> 1U) ^ ((zigzag & 1U) != 0 ? ~std::uint64_t { 0 } : 0);
    return before + difference;
}

/// `name` as the bytes it shares with `previous` at both ends and the middle between them.
void putNameChange(std::string& out, std::string_view previous, std::string_view name)
{
    const std::size_t common = std::min(previous.size(), name.size());
    std::size_t prefix = 0;
    while (prefix < common && previous[prefix] == name[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < common - prefix
        && previous[previous.size() - 1 - suffix] == name[name.size() - 1 - suffix])
        ++suffix;
    putVarint(out, prefix);
    putVarint(out, suffix);
    putVarint(out, name.size() - prefix - suffix);
    out.append(name.substr(prefix, name.size() - prefix - suffix));
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
    std::uint64_t varint()
    {
        std::uint64_t value = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            const auto c = static_cast<unsigned char>(byte());
            if (!m_ok)
                return 0;
            value |= std::uint64_t { c & 0x7FU } << shift;
            if ((c & 0x80U) == 0)
                return value;
        }
        m_ok = false; // longer than any 64-bit number
        return 0;
    }
    /// The next `size` bytes, which the caller must have checked are there.
    std::string_view take(std::size_t size)
    {
        const std::string_view value = m_rest.substr(0, size);
        m_rest.remove_prefix(size);
        return value;
    }
    [[nodiscard]] std::size_t left() const { return m_rest.size(); }
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

/// `name` rebuilt from its change against `previous`; false when the fields do not fit.
bool readNameChange(FieldReader& in, const std::string& previous, std::string& name)
{
    const std::uint64_t prefix = in.varint();
    const std::uint64_t suffix = in.varint();
    const std::uint64_t middle = in.varint();
    if (!in.ok() || prefix > previous.size() || suffix > previous.size() - prefix
        || middle > in.left())
        return false;
    name.assign(previous, 0, prefix);
    name.append(in.take(middle));
    name.append(previous, previous.size() - suffix, suffix);
    return true;
}

/// Appends the entries of a 'B' payload (after its type byte); false on damage.
bool readPackedEntries(FieldReader& in, JournalContents& contents, int version)
{
    const unsigned knownFlags = version >= 3 ? 15U : 7U;
    while (!in.atEnd()) {
        const JournalEntry none;
        const JournalEntry& previous = contents.entries.empty() ? none : contents.entries.back();
        const auto flags = static_cast<unsigned char>(in.byte());
        if ((flags & ~knownFlags) != 0)
            return false;
        JournalEntry entry;
        entry.caseChange = (flags & 1U) != 0;
        if ((flags & 2U) != 0) {
            const std::uint64_t directory = in.varint();
            if (!in.ok() || directory >= contents.directories.size())
                return false;
            entry.directory = contents.directories[directory];
        } else {
            if (contents.entries.empty())
                return false;
            entry.directory = previous.directory;
        }
        entry.identity.device = (flags & 4U) != 0 ? in.varint() : previous.identity.device;
        if (!readNameChange(in, previous.oldName, entry.oldName)
            || !readNameChange(in, previous.newName, entry.newName))
            return false;
        entry.identity.inode = addZigzag(previous.identity.inode, in.varint());
        entry.identity.birthNs = addZigzag(previous.identity.birthNs, in.varint());
        if ((flags & 8U) != 0) {
            entry.identity.stableNumbers = false;
            const std::uint64_t type = in.varint();
            if (type > std::numeric_limits<std::uint32_t>::max())
                return false;
            entry.identity.type = static_cast<std::uint32_t>(type);
            entry.identity.size = in.varint();
            entry.identity.mtimeNs = static_cast<std::int64_t>(
                addZigzag(static_cast<std::uint64_t>(previous.identity.mtimeNs), in.varint()));
        }
        if (!in.ok())
            return false;
        contents.entries.push_back(std::move(entry));
        contents.progress.emplace_back();
    }
    return true;
}

/// Applies one record to `contents`; false when the payload does not parse.
bool applyRecord(std::string_view payload, JournalContents& contents, bool& haveHeader, int version)
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
    case 'B':
        if (!readPackedEntries(in, contents, version))
            return false;
        break;
    case 'S':
        contents.started = true;
        break;
    case 'R': {
        const std::uint64_t first = in.number();
        const std::uint64_t count = in.number();
        const std::size_t planned = contents.progress.size();
        if (!in.ok() || count == 0 || first > planned || count > planned - first)
            return false;
        for (std::uint64_t i = 0; i < count; ++i)
            contents.progress[first + i].done = true;
        break;
    }
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
    // A new directory's 'P' record goes straight to `out`: it then precedes the packed
    // record of its first entry, and the entries already packed never refer to it.
    const std::uint64_t directory = directoryNumber(out, entry.directory);
    const bool newDirectory = !m_anyEntry || directory != m_previousDirectory;
    // What the reader gets back: an entry with stable numbers carries no type, size or time.
    platform::FileIdentity identity = entry.identity;
    if (identity.stableNumbers) {
        identity.type = 0;
        identity.size = 0;
        identity.mtimeNs = 0;
    }
    const bool newDevice = identity.device != m_previousIdentity.device;
    m_packed.push_back(static_cast<char>((entry.caseChange ? 1U : 0U) | (newDirectory ? 2U : 0U)
        | (newDevice ? 4U : 0U) | (identity.stableNumbers ? 0U : 8U)));
    if (newDirectory)
        putVarint(m_packed, directory);
    if (newDevice)
        putVarint(m_packed, identity.device);
    putNameChange(m_packed, m_previousOld, entry.oldName);
    putNameChange(m_packed, m_previousNew, entry.newName);
    putVarint(m_packed, zigzagDifference(identity.inode, m_previousIdentity.inode));
    putVarint(m_packed, zigzagDifference(identity.birthNs, m_previousIdentity.birthNs));
    if (!identity.stableNumbers) {
        putVarint(m_packed, identity.type);
        putVarint(m_packed, identity.size);
        putVarint(m_packed,
            zigzagDifference(static_cast<std::uint64_t>(identity.mtimeNs),
                static_cast<std::uint64_t>(m_previousIdentity.mtimeNs)));
    }
    m_anyEntry = true;
    m_previousDirectory = directory;
    m_previousOld = entry.oldName;
    m_previousNew = entry.newName;
    m_previousIdentity = identity;
    if (m_packed.size() >= kPackedBytes)
        finishEntries(out);
}

void JournalEncoder::finishEntries(std::string& out)
{
    if (m_packed.empty())
        return;
    {
        const Record record(out, 'B');
        out.append(m_packed);
    }
    m_packed.clear();
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

void JournalEncoder::doneRange(std::string& out, std::uint64_t first, std::uint64_t count)
{
    const Record record(out, 'R');
    putU64(out, first);
    putU64(out, count);
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
    int version = 0;
    if (bytes.starts_with(kJournalMagic))
        version = 3;
    else if (bytes.starts_with(kJournalMagicVersion2))
        version = 2;
    else if (bytes.starts_with(kJournalMagicVersion1))
        version = 1;
    else
        return std::nullopt;
    static_assert(kJournalMagic.size() == kJournalMagicVersion1.size()
        && kJournalMagic.size() == kJournalMagicVersion2.size());
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
        if (crc32(payload) != checksum || !applyRecord(payload, contents, haveHeader, version)) {
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
