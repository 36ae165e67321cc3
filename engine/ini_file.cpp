// The program's own reader of INI files (the CD player database is one).
#include "ini_file.h"

#include "platform/case_fold.h"
#include "platform/file_content.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <cerrno>
#include <numeric>

namespace quorvane::engine {

namespace {

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\v' || c == U'\f';
}

/// Orders names as equalsIgnoreCase equates them, so that equal names sort together.
bool foldedLess(std::u32string_view a, std::u32string_view b)
{
    return std::ranges::lexicographical_compare(a, b,
        [](char32_t x, char32_t y) { return platform::foldUpper(x) < platform::foldUpper(y); });
}

} // namespace

std::u32string_view IniFile::text(Range range) const
{
    return std::u32string_view(m_text).substr(range.start, range.length);
}

std::u32string_view IniFile::sectionName(std::size_t section) const
{
    return text(m_sections.at(section).name);
}

std::optional<std::size_t> IniFile::findSection(std::u32string_view name) const
{
    const auto found = std::ranges::lower_bound(
        m_byName, name, foldedLess, [this](std::uint32_t section) { return sectionName(section); });
    if (found == m_byName.end() || !platform::equalsIgnoreCase(sectionName(*found), name))
        return std::nullopt;
    return *found;
}

std::optional<std::u32string_view> IniFile::value(
    std::size_t section, std::u32string_view key) const
{
    for (std::size_t k = 0; k < keyCount(section); ++k) {
        if (platform::equalsIgnoreCase(keyName(section, k), key))
            return keyValue(section, k);
    }
    return std::nullopt;
}

std::size_t IniFile::keyCount(std::size_t section) const
{
    return m_sections.at(section).keyCount;
}

std::u32string_view IniFile::keyName(std::size_t section, std::size_t key) const
{
    return text(m_keys.at(m_sections.at(section).firstKey + key).name);
}

std::u32string_view IniFile::keyValue(std::size_t section, std::size_t key) const
{
    return text(m_keys.at(m_sections.at(section).firstKey + key).value);
}

IniFile IniFile::parse(std::string_view bytes)
{
    IniFile ini;
    // The ceiling also keeps every position within the 32 bits of a Range.
    ini.m_text = platform::decodeTextFile(bytes.substr(0, kMaxIniFileBytes));
    const std::size_t size = ini.m_text.size();
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = ini.m_text.find(U'\n', start);
        if (end == std::u32string::npos)
            end = size;
        ini.parseLine(start, end);
        start = end + 1;
    }
    ini.dropRepeatedSections();
    return ini;
}

void IniFile::parseLine(std::size_t start, std::size_t end)
{
    const auto range = [this](std::size_t first, std::size_t last) {
        while (first < last && isBlank(m_text[first]))
            ++first;
        while (last > first && isBlank(m_text[last - 1]))
            --last;
        return Range { static_cast<std::uint32_t>(first),
            static_cast<std::uint32_t>(last - first) };
    };
    const Range line = range(start, end);
    if (line.length == 0 || m_text[line.start] == U';')
        return;
    const std::size_t lineEnd = std::size_t { line.start } + line.length;
    // Searches stay within the line: a file of many lines without "]" or "=" must not cost
    // a scan of the rest of the file for each of them.
    const std::u32string_view lineText = text(line);
    if (lineText.front() == U'[') {
        const std::size_t close = lineText.find(U']');
        const std::size_t nameEnd
            = close == std::u32string_view::npos ? lineEnd : line.start + close;
        m_sections.push_back(
            { range(line.start + 1, nameEnd), static_cast<std::uint32_t>(m_keys.size()), 0 });
        return;
    }
    if (m_sections.empty())
        return; // a key of no section
    const std::size_t equalsAt = lineText.find(U'=');
    if (equalsAt == std::u32string_view::npos)
        return;
    const std::size_t equals = line.start + equalsAt;
    const Range name = range(line.start, equals);
    if (name.length == 0)
        return;
    Range value = range(equals + 1, lineEnd);
    if (value.length >= 2) {
        const char32_t first = m_text[value.start];
        if ((first == U'"' || first == U'\'') && m_text[value.start + value.length - 1] == first)
            value = { value.start + 1, value.length - 2 };
    }
    m_keys.push_back({ name, value });
    ++m_sections.back().keyCount;
}

void IniFile::dropRepeatedSections()
{
    std::vector<std::uint32_t> order(m_sections.size());
    std::iota(order.begin(), order.end(), 0U);
    // Stable: within a group of equal names the first in the file comes first.
    std::ranges::stable_sort(order, foldedLess,
        [this](std::uint32_t section) { return text(m_sections[section].name); });

    std::vector<bool> kept(m_sections.size(), false);
    for (std::size_t i = 0; i < order.size(); ++i) {
        kept[order[i]] = i == 0
            || !platform::equalsIgnoreCase(
                text(m_sections[order[i - 1]].name), text(m_sections[order[i]].name));
    }
    std::vector<std::uint32_t> newPosition(m_sections.size(), 0);
    std::vector<Section> sections;
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        if (kept[s]) {
            newPosition[s] = static_cast<std::uint32_t>(sections.size());
            sections.push_back(m_sections[s]);
        }
    }
    m_byName.clear();
    for (const std::uint32_t s : order) {
        if (kept[s])
            m_byName.push_back(newPosition[s]);
    }
    m_sections = std::move(sections);
}

IniFileRead readIniFile(const std::u32string& path)
{
    auto content = platform::readFileContent(platform::encodeName(path), kMaxIniFileBytes);
    if (content.ok())
        return { IniFile::parse(content.value()), {} };
    switch (content.error().code) {
    case EISDIR:
        return { {}, "it is a directory" };
    case EINVAL:
        return { {}, "it is not a regular file" };
    case EFBIG:
        return { {}, "it is larger than " + std::to_string((kMaxIniFileBytes >> 20U)) + " MiB" };
    default:
        return { {}, content.error().text() };
    }
}

} // namespace quorvane::engine
