// The rows of a run, kept compact.
#include "undo_log.h"

#include "platform/name_codec.h"

#include <stdexcept>

namespace quorvane::engine {

namespace {

std::uint32_t checkedSize(std::string_view bytes)
{
    // No file name comes near this; a text that does is no name, and must not wrap.
    if (bytes.size() > UINT32_MAX)
        throw std::length_error("name too long for the run's log");
    return static_cast<std::uint32_t>(bytes.size());
}

} // namespace

void UndoLog::append(
    std::u32string_view dir, std::u32string_view oldName, std::u32string_view newName)
{
    appendRow(directoryIndex(platform::encodeName(dir)), platform::encodeName(oldName),
        platform::encodeName(newName));
}

void UndoLog::appendBytes(std::string_view dir, std::string_view oldName, std::string_view newName)
{
    appendRow(directoryIndex(dir), oldName, newName);
}

std::uint32_t UndoLog::directoryIndex(std::string_view dir)
{
    // Rows come directory by directory: the last directory is the only one worth looking
    // for. A directory met again later is simply stored again.
    if (m_dirs.empty() || m_dirs.back() != dir)
        m_dirs.emplace_back(dir);
    return static_cast<std::uint32_t>(m_dirs.size() - 1);
}

void UndoLog::appendRow(std::uint32_t dir, std::string_view oldName, std::string_view newName)
{
    const Row row { m_names.size(), dir, checkedSize(oldName), checkedSize(newName) };
    m_names.append(oldName);
    m_names.append(newName);
    m_rows.push_back(row);
}

void UndoLog::reserve(std::size_t rows, std::size_t nameBytes)
{
    m_rows.reserve(rows);
    m_names.reserve(nameBytes);
}

std::string_view UndoLog::directoryBytes(std::size_t row) const
{
    return m_dirs[m_rows[row].dir];
}

std::string_view UndoLog::oldNameBytes(std::size_t row) const
{
    const Row& r = m_rows[row];
    return std::string_view(m_names).substr(r.at, r.oldSize);
}

std::string_view UndoLog::newNameBytes(std::size_t row) const
{
    const Row& r = m_rows[row];
    return std::string_view(m_names).substr(r.at + r.oldSize, r.newSize);
}

std::u32string UndoLog::directory(std::size_t row) const
{
    return platform::decodeName(directoryBytes(row));
}

std::u32string UndoLog::oldName(std::size_t row) const
{
    return platform::decodeName(oldNameBytes(row));
}

std::u32string UndoLog::newName(std::size_t row) const
{
    return platform::decodeName(newNameBytes(row));
}

bool UndoLog::unchanged(std::size_t row) const
{
    return oldNameBytes(row) == newNameBytes(row);
}

void UndoLog::setNewName(std::size_t row, std::string_view newName)
{
    // The old name is copied beside the new one: a row's names always sit together.
    const std::string oldName(oldNameBytes(row));
    Row& r = m_rows[row];
    r.at = m_names.size();
    r.newSize = checkedSize(newName);
    m_names.append(oldName);
    m_names.append(newName);
}

void UndoLog::retainRows(const std::vector<bool>& keep)
{
    std::string names;
    std::size_t bytes = 0;
    std::size_t kept = 0;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (keep[row]) {
            bytes += m_rows[row].oldSize + m_rows[row].newSize;
            ++kept;
        }
    }
    names.reserve(bytes);
    std::vector<Row> rows;
    rows.reserve(kept);
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (!keep[row])
            continue;
        Row r = m_rows[row];
        const std::string_view both = std::string_view(m_names).substr(r.at, r.oldSize + r.newSize);
        r.at = names.size();
        names.append(both);
        rows.push_back(r);
    }
    m_names = std::move(names);
    m_rows = std::move(rows);
}

bool UndoLog::operator==(const UndoLog& other) const
{
    if (size() != other.size())
        return false;
    for (std::size_t row = 0; row < size(); ++row) {
        if (directoryBytes(row) != other.directoryBytes(row)
            || oldNameBytes(row) != other.oldNameBytes(row)
            || newNameBytes(row) != other.newNameBytes(row))
            return false;
    }
    return true;
}

} // namespace quorvane::engine
