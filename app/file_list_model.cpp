// The entries of one directory that the file list shows: every non-directory matching a mask.
#include "file_list_model.h"

#include "qt_text.h"

#include "platform/file_system.h"
#include "platform/name_codec.h"
#include "platform/wildcard.h"

#include <algorithm>

namespace quorvane::app {

FileListModel::FileListModel(const platform::FileSystem& fileSystem, QObject* parent)
    : QAbstractListModel(parent)
    , m_fileSystem(fileSystem)
{ }

FileListModel::~FileListModel() = default;

void FileListModel::setDirectory(const std::u32string& dir)
{
    m_directory = dir;
    reload();
}

void FileListModel::setMask(const std::u32string& mask)
{
    m_mask = mask;
    reload();
}

void FileListModel::reload()
{
    std::vector<std::u32string> names = readNames();
    sortByCollation(names, m_collator);
    // One reset for the whole list: views drop their per-row state once, not per entry.
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

std::vector<std::u32string> FileListModel::readNames()
{
    std::vector<std::u32string> names;
    m_error.reset();
    if (m_directory.empty())
        return names;
    auto listing
        = m_fileSystem.listDirectory(platform::encodeName(m_directory), platform::Detail::KindOnly);
    if (!listing) {
        m_error = listing.error();
        return names;
    }
    names.reserve(listing.value().size());
    for (const platform::DirEntry& entry : listing.value()) {
        // Kinds come from the entry itself: a symbolic link to a directory is listed here.
        if (entry.kind == platform::EntryKind::Directory)
            continue;
        std::u32string name = platform::decodeName(entry.name);
        if (platform::matchesMask(name, m_mask))
            names.push_back(std::move(name));
    }
    return names;
}

void sortByCollation(std::vector<std::u32string>& names, const platform::Collator& collator)
{
    // One collation key per name, then plain byte comparisons: comparing through the
    // collator inside the sort would cost a full collation per comparison.
    struct Keyed
    {
        std::string key;
        std::u32string name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::u32string& name : names)
        keyed.push_back({ collator.sortKey(name), std::move(name) });
    std::ranges::sort(keyed, [](const Keyed& a, const Keyed& b) {
        if (const int order = a.key.compare(b.key); order != 0)
            return order < 0;
        return a.name < b.name;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        names[i] = std::move(keyed[i].name);
}

const std::u32string& FileListModel::name(int row) const
{
    return m_names.at(static_cast<std::size_t>(row));
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count())
        return {};
    // Converted on demand: a view asks only for the rows it shows.
    return toDisplay(name(index.row()));
}

} // namespace quorvane::app
