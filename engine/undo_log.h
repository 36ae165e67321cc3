// The rows of a run: where each entry is, the name it had and the name it gets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// Index-aligned record of renames: directory (ending in "/"), name before, name after.
/// A run over a million entries keeps a million of these rows, so the names are held as
/// the bytes the system uses, all in one buffer, and each directory once: about the names'
/// own length plus 24 bytes a row, instead of three strings of code points.
class UndoLog
{
public:
    void append(std::u32string_view dir, std::u32string_view oldName, std::u32string_view newName);
    /// The same with names already encoded as the system's bytes.
    void appendBytes(std::string_view dir, std::string_view oldName, std::string_view newName);
    /// Room for `rows` rows whose names take `nameBytes` bytes in all.
    void reserve(std::size_t rows, std::size_t nameBytes);

    [[nodiscard]] std::size_t size() const { return m_rows.size(); }
    [[nodiscard]] bool empty() const { return m_rows.empty(); }

    [[nodiscard]] std::string_view directoryBytes(std::size_t row) const;
    [[nodiscard]] std::string_view oldNameBytes(std::size_t row) const;
    [[nodiscard]] std::string_view newNameBytes(std::size_t row) const;
    /// The same as code points (see platform::decodeName).
    [[nodiscard]] std::u32string directory(std::size_t row) const;
    [[nodiscard]] std::u32string oldName(std::size_t row) const;
    [[nodiscard]] std::u32string newName(std::size_t row) const;
    /// Whether the row leaves the entry's name as it is.
    [[nodiscard]] bool unchanged(std::size_t row) const;

    /// Gives row `row` another new name (one typed by the user).
    void setNewName(std::size_t row, std::string_view newName);
    /// Keeps the rows whose `keep` is true, in their order, and frees the room of the
    /// others. `keep` has one value per row.
    void retainRows(const std::vector<bool>& keep);

    /// Row by row the same directories and names.
    [[nodiscard]] bool operator==(const UndoLog& other) const;

private:
    struct Row
    {
        std::uint64_t at; ///< the old name's first byte in m_names; the new name follows it
        std::uint32_t dir; ///< index in m_dirs
        std::uint32_t oldSize;
        std::uint32_t newSize;
    };
    void appendRow(std::uint32_t dir, std::string_view oldName, std::string_view newName);
    [[nodiscard]] std::uint32_t directoryIndex(std::string_view dir);

    std::string m_names;
    std::vector<Row> m_rows;
    std::vector<std::string> m_dirs;
};

} // namespace quorvane::engine
