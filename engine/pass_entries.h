// The entries of one directory pass, held compactly while the pass is planned.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// Entries as the system's name bytes in one buffer, each with its kind letter (kFileKind
/// or kDirKind) and the inode number the listing gave (0 when unknown): about the name's
/// length plus 24 bytes an entry, where a list of code-point strings takes five times that.
class PassEntries
{
public:
    void add(std::string_view name, char32_t kind, std::uint64_t inode);
    void reserve(std::size_t entries, std::size_t nameBytes);

    [[nodiscard]] std::size_t size() const { return m_items.size(); }
    [[nodiscard]] bool empty() const { return m_items.empty(); }
    /// The bytes of all the names together.
    [[nodiscard]] std::size_t nameBytesTotal() const { return m_names.size(); }
    [[nodiscard]] std::string_view nameBytes(std::size_t index) const;
    [[nodiscard]] char32_t kind(std::size_t index) const { return m_items[index].kind; }
    [[nodiscard]] std::uint64_t inode(std::size_t index) const { return m_items[index].inode; }
    /// The entry as the rules take it: the decoded name followed by its kind letter,
    /// written into `text` (reused from call to call).
    void entryText(std::size_t index, std::u32string& text) const;

    /// Puts the entries in the order `order` gives (a permutation of the indices).
    void reorder(const std::vector<std::uint32_t>& order);

private:
    struct Item
    {
        std::uint64_t at; ///< first byte of the name in m_names
        std::uint64_t inode;
        std::uint32_t size;
        char32_t kind;
    };
    std::string m_names;
    std::vector<Item> m_items;
};

} // namespace quorvane::engine
