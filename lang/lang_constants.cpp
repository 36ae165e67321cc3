// The sorted table of message constants and its three errors.
#include "lang_constants.h"

#include "lang_error.h"

#include <algorithm>
#include <utility>

namespace quorvane::lang {

namespace {

unsigned char upperAscii(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - ('a' - 'A')) : b;
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string quoted(std::string_view before, std::string_view name, std::string_view after)
{
    std::string message(before);
    message.append(name);
    message.append(after);
    return message;
}

[[noreturn]] void throwInvalidName(std::string_view name)
{
    throw ELangError(quoted("Invalid constant name (\"", name, "\")"));
}

[[noreturn]] void throwDuplicateName(std::string_view name)
{
    throw ELangError(quoted("Duplicate constant name (\"", name, "\")"));
}

bool nameBefore(const TLang_Constant& item, std::string_view key)
{
    return TLang_Constants::compareNames(item.name, key) < 0;
}

} // namespace

int TLang_Constants::compareNames(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char ca = upperAscii(a[i]);
        const unsigned char cb = upperAscii(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string TLang_Constants::foldedName(std::string_view name)
{
    std::string folded;
    folded.reserve(name.size());
    for (const char c : name)
        folded.push_back(static_cast<char>(upperAscii(c)));
    return folded;
}

bool TLang_Constants::isValidName(std::string_view name)
{
    if (name.empty() || !(isAsciiLetter(name.front()) || name.front() == '_'))
        return false;
    return std::all_of(name.begin() + 1, name.end(),
        [](char c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == '_'; });
}

void TLang_Constants::add(std::string_view name, std::u32string text, std::uint8_t flags)
{
    if (!isValidName(name))
        throwInvalidName(name);
    const auto pos = std::lower_bound(m_items.begin(), m_items.end(), name, nameBefore);
    if (pos != m_items.end() && compareNames(pos->name, name) == 0)
        throwDuplicateName(name);
    TLang_Constant item { std::string(name), text, std::move(text), flags };
    m_items.insert(pos, std::move(item));
}

TLang_Constants::Batch::Batch(const TLang_Constants& table)
{
    m_taken.reserve(table.size());
    for (const TLang_Constant& item : table.items())
        m_taken.insert(foldedName(item.name));
}

void TLang_Constants::Batch::add(std::string_view name, std::u32string text)
{
    if (!isValidName(name))
        throwInvalidName(name);
    const bool rising
        = m_taken.empty() && (m_items.empty() || compareNames(m_items.back().name, name) < 0);
    if (!rising) {
        if (m_taken.empty()) {
            for (const TLang_Constant& item : m_items)
                m_taken.insert(foldedName(item.name));
        }
        if (!m_taken.insert(foldedName(name)).second)
            throwDuplicateName(name);
    }
    m_items.push_back({ std::string(name), text, std::move(text), 0 });
}

void TLang_Constants::Batch::commitTo(TLang_Constants& table)
{
    const auto byName = [](const TLang_Constant& a, const TLang_Constant& b) {
        return compareNames(a.name, b.name) < 0;
    };
    std::vector<TLang_Constant>& items = table.m_items;
    const auto held = static_cast<std::ptrdiff_t>(items.size());
    items.insert(items.end(), std::make_move_iterator(m_items.begin()),
        std::make_move_iterator(m_items.end()));
    m_items.clear();
    std::sort(items.begin() + held, items.end(), byName);
    std::inplace_merge(items.begin(), items.begin() + held, items.end(), byName);
}

const TLang_Constant* TLang_Constants::findOrNull(std::string_view name) const
{
    const auto pos = std::lower_bound(m_items.begin(), m_items.end(), name, nameBefore);
    if (pos == m_items.end() || compareNames(pos->name, name) != 0)
        return nullptr;
    return &*pos;
}

TLang_Constant* TLang_Constants::findOrNull(std::string_view name)
{
    return const_cast<TLang_Constant*>(std::as_const(*this).findOrNull(name));
}

const TLang_Constant& TLang_Constants::find(std::string_view name) const
{
    const TLang_Constant* item = findOrNull(name);
    if (item == nullptr)
        throw ELangError(quoted("Constant \"", name, "\" not found"));
    return *item;
}

TLang_Constant& TLang_Constants::find(std::string_view name)
{
    return const_cast<TLang_Constant&>(std::as_const(*this).find(name));
}

} // namespace quorvane::lang
