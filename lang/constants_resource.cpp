// Parsing of the LANG_CONSTS blob into a constants table.
#include "constants_resource.h"

#include "lang_constants.h"
#include "lang_error.h"
#include "platform/name_codec.h"

#include <string>

namespace quorvane::lang {

namespace {

/// Reads the blob front to back; every read is checked against the end, because a blob
/// may come from anywhere and a short one must be an error, not a read past the end.
class BlobReader
{
public:
    explicit BlobReader(std::span<const std::uint8_t> blob)
        : m_blob(blob)
    { }

    [[nodiscard]] std::size_t remaining() const { return m_blob.size() - m_pos; }

    std::uint8_t readByte(const char* what)
    {
        require(1, what);
        return m_blob[m_pos++];
    }

    std::uint32_t readLittleEndian(std::size_t width, const char* what)
    {
        require(width, what);
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= std::uint32_t { m_blob[m_pos + i] } << (8 * i);
        m_pos += width;
        return value;
    }

    /// A 16-bit length followed by that many Windows-1252 bytes.
    std::u32string readString(const char* what)
    {
        const std::size_t length = readLittleEndian(2, what);
        require(length, what);
        const auto* first = reinterpret_cast<const char*>(m_blob.data() + m_pos);
        m_pos += length;
        return platform::decodeCp1252(std::string_view(first, length));
    }

private:
    void require(std::size_t count, const char* what) const
    {
        if (count > remaining())
            throw ELangError(std::string("Malformed constants resource: truncated in ") + what);
    }

    std::span<const std::uint8_t> m_blob;
    std::size_t m_pos = 0;
};

// Each entry needs two length fields even when both strings are empty.
constexpr std::size_t kMinEntrySize = 4;

} // namespace

std::uint8_t loadConstantsResource(std::span<const std::uint8_t> blob, TLang_Constants& table)
{
    BlobReader reader(blob);
    const std::uint8_t flag = reader.readByte("the flag byte");
    const auto count = static_cast<std::int32_t>(reader.readLittleEndian(4, "the entry count"));
    if (count < 0)
        throw ELangError(
            "Malformed constants resource: negative entry count (" + std::to_string(count) + ")");
    if (static_cast<std::size_t>(count) > reader.remaining() / kMinEntrySize)
        throw ELangError("Malformed constants resource: " + std::to_string(count)
            + " entries cannot fit in " + std::to_string(reader.remaining()) + " bytes");

    // Filled aside and swapped in, so a failure leaves the caller's table as it was.
    TLang_Constants loaded;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::u32string name = reader.readString("a constant name");
        std::u32string text = reader.readString("a constant text");
        // Names are checked by the table; a non-ASCII one reaches it as UTF-8 so the
        // error message stays readable.
        loaded.add(platform::encodeName(name), std::move(text));
    }
    table = std::move(loaded);
    return flag;
}

} // namespace quorvane::lang
