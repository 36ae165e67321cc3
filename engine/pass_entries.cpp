// The compact entries of one directory pass.
#include "pass_entries.h"

#include "platform/name_codec.h"

#include <stdexcept>

namespace quorvane::engine {

void PassEntries::add(std::string_view name, char32_t kind, std::uint64_t inode)
{
    if (name.size() > UINT32_MAX)
        throw std::length_error("entry name too long");
    m_items.push_back({ m_names.size(), inode, static_cast<std::uint32_t>(name.size()), kind });
    m_names.append(name);
}

void PassEntries::reserve(std::size_t entries, std::size_t nameBytes)
{
    m_items.reserve(entries);
    m_names.reserve(nameBytes);
}

std::string_view PassEntries::nameBytes(std::size_t index) const
{
    const Item& item = m_items[index];
    return std::string_view(m_names).substr(item.at, item.size);
}

void PassEntries::entryText(std::size_t index, std::u32string& text) const
{
    platform::decodeName(nameBytes(index), text);
    text.push_back(m_items[index].kind);
}

void PassEntries::reorder(const std::vector<std::uint32_t>& order)
{
    // Only the small items move; the names stay where they are in the buffer.
    std::vector<Item> items;
    items.reserve(m_items.size());
    for (const std::uint32_t index : order)
        items.push_back(m_items[index]);
    m_items = std::move(items);
}

} // namespace quorvane::engine
