// The program's own reader of INI files (the CD player database is one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// The most bytes an INI file may hold: far beyond any real CD database, small enough that
/// a stray huge file is refused instead of filling the memory.
inline constexpr std::size_t kMaxIniFileBytes = std::size_t { 16 } * 1024 * 1024;

/// The sections and keys of an INI file, read-only. Reading never fails:
/// - the bytes are decoded as every text file of the program (UTF-8 when valid, a BOM
///   dropped, otherwise Windows-1252); only the first kMaxIniFileBytes bytes are looked at;
/// - lines end at LF or CR LF, in any mix; a lone CR is an ordinary character;
/// - blanks (space, tab, CR, VT, FF) are trimmed around section names, keys and values;
/// - a line whose first non-blank character is ";" is a comment;
/// - "[name]" starts a section (text after the "]" is ignored; a "[" line without "]" names
///   the section by the rest of the line);
/// - "key=value" is a key of the current section: the key is the text before the first
///   "=", the value the text after it; a value enclosed in a matching pair of double or
///   single quotes loses them; a line without "=", or with an empty key, is ignored;
/// - lines before the first section are ignored;
/// - section and key names are compared without regard to letter case by the simple
///   Unicode case mappings; a section whose name repeats an earlier one is ignored with all its
///   keys, and of two equal keys in one section the first counts.
class IniFile
{
public:
    /// A file without sections.
    IniFile() = default;

    [[nodiscard]] static IniFile parse(std::string_view bytes);

    /// Sections, in the order of their first appearance in the file.
    [[nodiscard]] std::size_t sectionCount() const { return m_sections.size(); }
    /// The name of the section at `section` (< sectionCount()), as the file spells it.
    [[nodiscard]] std::u32string_view sectionName(std::size_t section) const;
    /// The position of the section called `name`, compared without regard to case.
    [[nodiscard]] std::optional<std::size_t> findSection(std::u32string_view name) const;

    /// The value of `key` in the section at `section`; nullopt when the key is missing.
    [[nodiscard]] std::optional<std::u32string_view> value(
        std::size_t section, std::u32string_view key) const;

    /// The keys of the section at `section` in file order, repeated keys included.
    [[nodiscard]] std::size_t keyCount(std::size_t section) const;
    [[nodiscard]] std::u32string_view keyName(std::size_t section, std::size_t key) const;
    [[nodiscard]] std::u32string_view keyValue(std::size_t section, std::size_t key) const;

private:
    // Names and values are ranges of the one decoded text: a file of many tiny lines then
    // costs a few bytes per line, not a string each.
    struct Range
    {
        std::uint32_t start = 0;
        std::uint32_t length = 0;
    };
    struct Key
    {
        Range name;
        Range value;
    };
    struct Section
    {
        Range name;
        std::uint32_t firstKey = 0;
        std::uint32_t keyCount = 0;
    };

    [[nodiscard]] std::u32string_view text(Range range) const;
    void parseLine(std::size_t start, std::size_t end);
    void dropRepeatedSections();

    std::u32string m_text;
    std::vector<Key> m_keys;
    std::vector<Section> m_sections; ///< file order, first appearance of each name
    std::vector<std::uint32_t> m_byName; ///< section positions ordered by folded name
};

/// An INI file read from disk, or why it could not be read.
struct IniFileRead
{
    IniFile file;
    std::string error; ///< empty when read; else one line in English saying why
};

/// Reads the INI file at `path` through the platform layer. Refused with the reason: a
/// missing or unreadable file (the system's text), a directory, an entry that is not a
/// regular file, a file larger than kMaxIniFileBytes.
[[nodiscard]] IniFileRead readIniFile(const std::u32string& path);

} // namespace quorvane::engine
