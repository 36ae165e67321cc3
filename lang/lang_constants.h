// The table of message constants, sorted by name without regard to ASCII letter case.
#pragma once

#include "lang_constant.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quorvane::lang {

/// Constants kept in ascending name order under compareNames; every lookup is a binary
/// search. Errors are ELangError with the program's three messages.
class TLang_Constants
{
public:
    /// Orders names with a-z compared as A-Z, then by plain byte value ("_" after letters).
    [[nodiscard]] static int compareNames(std::string_view a, std::string_view b);
    /// The name with a-z as A-Z: two names are equal under compareNames exactly when their
    /// folded names are.
    [[nodiscard]] static std::string foldedName(std::string_view name);
    /// First character an ASCII letter or "_", the rest ASCII letters, digits or "_".
    [[nodiscard]] static bool isValidName(std::string_view name);

    /// Adds a constant whose text and default text are `text`.
    /// Throws ELangError "Invalid constant name ("%s")" or "Duplicate constant name ("%s")".
    void add(std::string_view name, std::u32string text, std::uint8_t flags = 0);

    /// Collects constants for one table with add()'s checks and errors, in any order, and
    /// puts them in with one sort: a whole file's worth costs n log n, where an insertion
    /// each would move the table once per constant.
    class Batch
    {
    public:
        /// The names `table` holds count as taken.
        explicit Batch(const TLang_Constants& table);
        /// As add(); the constant reaches the table at commitTo().
        void add(std::string_view name, std::u32string text);
        /// Moves what was collected into `table`, the one given to the constructor (unchanged
        /// since), and leaves the batch empty.
        void commitTo(TLang_Constants& table);

    private:
        /// Names in upper case, filled once the names stop rising (or the table held some):
        /// while they rise, each new one is greater than all before it and needs no lookup.
        std::unordered_set<std::string> m_taken;
        std::vector<TLang_Constant> m_items;
    };

    /// The constant of that name. Throws ELangError "Constant "%s" not found".
    [[nodiscard]] const TLang_Constant& find(std::string_view name) const;
    [[nodiscard]] TLang_Constant& find(std::string_view name);
    /// The constant of that name, or nullptr.
    [[nodiscard]] const TLang_Constant* findOrNull(std::string_view name) const;
    [[nodiscard]] TLang_Constant* findOrNull(std::string_view name);

    void clear() { m_items.clear(); }
    [[nodiscard]] std::size_t size() const { return m_items.size(); }
    [[nodiscard]] const std::vector<TLang_Constant>& items() const { return m_items; }

private:
    std::vector<TLang_Constant> m_items;
};

} // namespace quorvane::lang
