// Locale-aware, case-insensitive ordering of names (ICU, secondary strength).
#include "collator.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
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
void appendUtf16(std::u32string_view text, std::u16string& out)
{
    out.reserve(out.size() + text.size());
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
}

std::u16string toUtf16(std::u32string_view text)
{
    std::u16string out;
    appendUtf16(text, out);
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
    // Digits by value, as file managers list names; a collator that cannot do it still
    // collates.
    status = U_ZERO_ERROR;
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    return collator;
}

/// The sort key of `text` appended to `keys`; without a collator, the UTF-16 units in
/// big-endian order, which sort as the code points do.
void appendKey(const UCollator* collator, std::u32string_view text, std::string& keys)
{
    // Called once per entry of a directory: the text's UTF-16 form and the key are written
    // into buffers that outlive the call, so that a million keys cost no million
    // allocations.
    thread_local std::u16string text16;
    text16.clear();
    appendUtf16(text, text16);
    if (collator == nullptr) {
        for (const char16_t unit : text16) {
            keys.push_back(static_cast<char>(unit >> 8U));
            keys.push_back(static_cast<char>(unit & 0xFFU));
        }
        return;
    }
    const std::size_t start = keys.size();
    std::size_t room = text16.size() * 4 + 16;
    for (;;) {
        keys.resize(start + room);
        const int32_t needed = ucol_getSortKey(collator, text16.data(), lengthOf(text16),
            reinterpret_cast<uint8_t*>(keys.data() + start), static_cast<int32_t>(room));
        if (needed <= 0) {
            keys.resize(start);
            return;
        }
        const auto length = static_cast<std::size_t>(needed);
        if (length <= room) {
            keys.resize(start + length - 1); // the key without its NUL
            return;
        }
        room = length;
    }
}

/// One text in the sort: eight key bytes past the shared start, big-endian so that integer
/// order is byte order (a shorter key is padded with zeros, which no collation key holds).
struct Ranked
{
    std::uint64_t head;
    std::uint32_t index;
};

std::uint64_t headOf(std::string_view key, std::size_t shared)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < sizeof head; ++i) {
        const std::size_t at = shared + i;
        const std::uint64_t byte = at < key.size() ? static_cast<unsigned char>(key[at]) : 0U;
        head = (head << 8U) | byte;
    }
    return head;
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

bool Collator::less(std::u32string_view a, std::u32string_view b) const
{
    const int order = compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

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
    std::string key;
    appendSortKey(text, key);
    return key;
}

void Collator::appendSortKey(std::u32string_view text, std::string& keys) const
{
    appendKey(m_impl->collator.get(), text, keys);
}

/// How many keys are made before the room for all of them is estimated.
constexpr std::size_t kKeysToMeasure = 1024;

namespace {

/// The tie characters after a key: a zero byte, then each character big-endian. No
/// collation key holds a zero byte (and no UTF-16 unit of the fallback key is zero), so the
/// tie counts only where the keys are equal and a key that starts another still sorts first.
void appendTie(std::u32string_view tie, std::string& keys)
{
    keys.push_back('\0');
    for (const char32_t c : tie) {
        for (unsigned shift = 24; shift > 0; shift -= 8)
            keys.push_back(static_cast<char>((c >> shift) & 0xFFU));
        keys.push_back(static_cast<char>(c & 0xFFU));
    }
}

} // namespace

std::vector<std::uint32_t> Collator::sortOrder(std::size_t count, const TextAt& textAt,
    const std::atomic<bool>* cancelled, std::size_t tieCharacters) const
{
    if (count > UINT32_MAX)
        throw std::length_error("too many texts to sort");
    const auto stopped = [cancelled] {
        return cancelled != nullptr && cancelled->load(std::memory_order_relaxed);
    };
    // One buffer for every key, and where each ends: 32 bits, keys past 4 GiB are refused.
    std::string keys;
    std::vector<std::uint32_t> keyEnds;
    keyEnds.reserve(count);
    std::u32string text;
    for (std::size_t i = 0; i < count; ++i) {
        if ((i & 1023U) == 0 && stopped())
            return {};
        if (i == kKeysToMeasure && count > 2 * kKeysToMeasure) {
            // The first keys tell how long the rest will be: room for all of them at once
            // spares the buffer its repeated doubling (and copying) on a large directory.
            const std::size_t expected = keys.size() / kKeysToMeasure * count;
            keys.reserve(expected + expected / 8);
        }
        textAt(i, text);
        const std::u32string_view whole(text);
        const std::size_t collated = whole.size() - std::min(whole.size(), tieCharacters);
        appendSortKey(whole.substr(0, collated), keys);
        if (tieCharacters > 0)
            appendTie(whole.substr(collated), keys);
        if (keys.size() > UINT32_MAX)
            throw std::length_error("too many texts to sort");
        keyEnds.push_back(static_cast<std::uint32_t>(keys.size()));
    }
    const auto keyOf = [&](std::uint32_t i) {
        const std::size_t begin = i == 0 ? 0 : keyEnds[i - 1];
        return std::string_view(keys).substr(begin, keyEnds[i] - begin);
    };

    // Names of one directory often share a long start ("IMG_2024", "Artist - Album - "):
    // past the bytes every key shares, eight bytes held beside the index settle most
    // comparisons without touching the keys, which are scattered over megabytes.
    std::size_t shared = count == 0 ? 0 : keyOf(0).size();
    for (std::uint32_t i = 1; i < count && shared > 0; ++i) {
        const std::string_view a = keyOf(0).substr(0, shared);
        const std::string_view b = keyOf(i);
        shared = static_cast<std::size_t>(
            std::ranges::mismatch(a, b.substr(0, std::min(b.size(), shared))).in1 - a.begin());
    }
    const auto less = [&](const Ranked& a, const Ranked& b) {
        if (a.head != b.head)
            return a.head < b.head;
        if (const int byKey = keyOf(a.index).substr(shared).compare(keyOf(b.index).substr(shared));
            byKey != 0)
            return byKey < 0;
        // Equal keys are rare (names differing only in letter case): fetching both is cheap.
        std::u32string left;
        std::u32string right;
        textAt(a.index, left);
        textAt(b.index, right);
        return left < right;
    };
    std::vector<Ranked> ranked(count);
    for (std::uint32_t i = 0; i < count; ++i)
        ranked[i] = { headOf(keyOf(i), shared), i };
    std::ranges::sort(ranked, less);
    if (stopped())
        return {};
    // The keys are done with: their room goes back before the order takes its own.
    keys = std::string {};
    keyEnds = std::vector<std::uint32_t> {};
    std::vector<std::uint32_t> order(count);
    std::ranges::transform(ranked, order.begin(), &Ranked::index);
    return order;
}

} // namespace quorvane::platform
