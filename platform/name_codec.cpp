// Lossless conversion between file-name bytes and code points, and the text codecs.
#include "name_codec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace quorvane::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0U) == 0x80U;
}

/// Length of the valid UTF-8 sequence at the start of bytes and its code point; 0 when the
/// first byte does not start a valid sequence (overlong, surrogate, beyond U+10FFFF,
/// truncated).
std::size_t decodeOne(std::string_view bytes, char32_t& out)
{
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    if (b0 < 0x80U) {
        out = b0;
        return 1;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0U) == 0xC0U) {
        length = 2;
        cp = b0 & 0x1FU;
        minimum = 0x80;
    } else if ((b0 & 0xF0U) == 0xE0U) {
        length = 3;
        cp = b0 & 0x0FU;
        minimum = 0x800;
    } else if ((b0 & 0xF8U) == 0xF0U) {
        length = 4;
        cp = b0 & 0x07U;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!isContinuation(b))
            return 0;
        cp = (cp << 6U) | (b & 0x3FU);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    out = cp;
    return length;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0U | (cp >> 6U)));
        out.push_back(static_cast<char>(0x80U | (cp & 0x3FU)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0U | (cp >> 12U)));
        out.push_back(static_cast<char>(0x80U | ((cp >> 6U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (cp & 0x3FU)));
    } else {
        out.push_back(static_cast<char>(0xF0U | (cp >> 18U)));
        out.push_back(static_cast<char>(0x80U | ((cp >> 12U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | ((cp >> 6U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (cp & 0x3FU)));
    }
}

bool isEscape(char32_t cp)
{
    return cp >= kEscapeBase && cp <= kEscapeBase + 0xFF;
}

// Windows-1252 codes 0x80-0x9F. The five unassigned codes keep their C1 code points so
// that every byte decodes to something and encodes back to itself.
// clang-format off
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

} // namespace

std::u32string decodeName(std::string_view bytes)
{
    std::u32string out;
    decodeName(bytes, out);
    return out;
}

void decodeName(std::string_view bytes, std::u32string& out)
{
    // Every name of a run passes here, twice: the text is written in place, into room for
    // as many code points as there are bytes (never fewer bytes than code points).
    out.resize(bytes.size());
    char32_t* write = out.data();
    // Eight ASCII bytes at a time: no byte of the word has its high bit set.
    while (bytes.size() >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data(), 8);
        if ((word & 0x8080808080808080U) != 0)
            break;
        for (std::size_t i = 0; i < 8; ++i)
            write[i] = static_cast<unsigned char>(bytes[i]);
        write += 8;
        bytes.remove_prefix(8);
    }
    while (!bytes.empty()) {
        // Most names are ASCII: a byte below 0x80 is its own code point.
        if (static_cast<unsigned char>(bytes.front()) < 0x80) {
            *write++ = static_cast<unsigned char>(bytes.front());
            bytes.remove_prefix(1);
            continue;
        }
        char32_t cp = 0;
        std::size_t length = decodeOne(bytes, cp);
        if (length == 0) {
            cp = kEscapeBase + static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        *write++ = cp;
        bytes.remove_prefix(length);
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
}

std::string encodeName(std::u32string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char32_t cp : name) {
        if (cp < 0x80)
            out.push_back(static_cast<char>(cp));
        else if (isEscape(cp))
            out.push_back(static_cast<char>(cp - kEscapeBase));
        else
            appendUtf8(out, cp);
    }
    return out;
}

std::string toDisplayUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char32_t cp : text)
        appendUtf8(out, (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF ? kReplacement : cp);
    return out;
}

bool isValidUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        char32_t cp = 0;
        const std::size_t length = decodeOne(bytes, cp);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::u32string decodeCp1252(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High.at(b - 0x80U) : char32_t { b });
    }
    return out;
}

std::optional<std::string> encodeCp1252(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char32_t cp : text) {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
            if (kCp1252High.at(i) == cp) {
                out.push_back(static_cast<char>(0x80 + i));
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

std::u32string decodeTextFile(std::string_view bytes)
{
    // A byte-order mark says UTF-8 whatever follows; stray bytes then keep their escapes.
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return decodeName(bytes.substr(3));
    return isValidUtf8(bytes) ? decodeName(bytes) : decodeCp1252(bytes);
}

} // namespace quorvane::platform
