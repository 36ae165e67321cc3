// Locale-aware, case-insensitive ordering of names (ICU, secondary strength).
#include "collator.h"

#include <cstdlib>
#include <vector>

#include <unicode/ucol.h>

namespace quorvane::platform {

namespace {

struct CollatorCloser
{
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

using CollatorHandle = std::unique_ptr<UCollator, CollatorCloser>;

/// UTF-16 for ICU. Escaped file-name bytes (U+DC80..U+DCFF) and other lone surrogates go
/// through as single units: ICU orders them as unpaired surrogates, and two different names
/// never become the same text.
std::u16string toUtf16(std::u32string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char32_t cp : text) {
        if (cp < 0x10000) {
            out.push_back(static_cast<char16_t>(cp));
        } else if (cp <= 0x10FFFF) {
            const char32_t offset = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10U)));
            out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FFU)));
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return out;
}

int32_t lengthOf(const std::u16string& text)
{
    return static_cast<int32_t>(text.size());
}

CollatorHandle openCollator(const std::string& localeName)
{
    UErrorCode status = U_ZERO_ERROR;
    CollatorHandle collator(ucol_open(localeName.c_str(), &status));
    if (U_FAILURE(status) || !collator) {
        status = U_ZERO_ERROR;
        collator.reset(ucol_open("", &status));
    }
    if (U_FAILURE(status) || !collator)
        return nullptr;
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    return collator;
}

const char* firstSetVariable(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe)
        if (value != nullptr && *value != '\0')
            return value;
    }
    return nullptr;
}

} // namespace

std::string userCollationLocale()
{
    const char* value = firstSetVariable({ "LC_ALL", "LC_COLLATE", "LANG" });
    if (value == nullptr)
        return {};
    std::string name(value);
    name = name.substr(0, name.find('@'));
    name = name.substr(0, name.find('.'));
    if (name == "C" || name == "POSIX")
        return {};
    return name;
}

struct Collator::Impl
{
    CollatorHandle collator;
};

Collator::Collator(const std::string& localeName)
    : m_impl(std::make_unique<Impl>(Impl { openCollator(localeName) }))
{ }

Collator::~Collator() = default;

int Collator::compare(std::u32string_view a, std::u32string_view b) const
{
    const std::u16string a16 = toUtf16(a);
    const std::u16string b16 = toUtf16(b);
    if (!m_impl->collator)
        return a16.compare(b16);
    return ucol_strcoll(
        m_impl->collator.get(), a16.data(), lengthOf(a16), b16.data(), lengthOf(b16));
}

std::string Collator::sortKey(std::u32string_view text) const
{
    const std::u16string text16 = toUtf16(text);
    if (!m_impl->collator) {
        std::string key;
        for (const char16_t unit : text16) {
            key.push_back(static_cast<char>(unit >> 8U));
            key.push_back(static_cast<char>(unit & 0xFFU));
        }
        return key;
    }
    std::vector<uint8_t> buffer(text16.size() * 4 + 16);
    for (;;) {
        const int32_t needed = ucol_getSortKey(m_impl->collator.get(), text16.data(),
            lengthOf(text16), buffer.data(), static_cast<int32_t>(buffer.size()));
        if (needed <= 0)
            return {};
        const auto length = static_cast<std::size_t>(needed);
        if (length <= buffer.size())
            return { buffer.begin(), buffer.begin() + needed - 1 }; // the key without its NUL
        buffer.resize(length);
    }
}

} // namespace quorvane::platform
