// The entries of one directory that the file list shows: every non-directory matching a mask.
#pragma once

#include "platform/collator.h"
#include "platform/sys_error.h"

#include <QAbstractListModel>

#include <optional>
#include <string>
#include <vector>

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

/// The files, symbolic links and other non-directory entries of a directory whose names
/// match a mask, hidden ones included, in the user's case-insensitive collation order (ties
/// in code-point order). Names are kept exactly as read (bytes decoded losslessly); the
/// display role shows them with undecodable bytes as U+FFFD. One row per entry, no columns.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    /// Reads through `fileSystem`, which must outlive the model.
    explicit FileListModel(const platform::FileSystem& fileSystem, QObject* parent = nullptr);
    ~FileListModel() override;

    /// Lists `dir` (an absolute path, "/"-separated) with the current mask.
    void setDirectory(const std::u32string& dir);
    [[nodiscard]] const std::u32string& directory() const { return m_directory; }

    /// Lists the current directory again with `mask` ("*.mp3", "*.*", "a*;b*"; letter case
    /// ignored). The mask is "*.*" until set.
    void setMask(const std::u32string& mask);
    [[nodiscard]] const std::u32string& mask() const { return m_mask; }

    /// Reads the current directory again: one directory listing and one model reset. A
    /// directory that cannot be read gives an empty list and sets readError().
    void reload();

    /// Why the last read failed; nullopt after a successful read.
    [[nodiscard]] const std::optional<platform::SysError>& readError() const { return m_error; }

    /// The number of entries listed.
    [[nodiscard]] int count() const { return static_cast<int>(m_names.size()); }
    /// The real name of row `row` (0 <= row < count()).
    [[nodiscard]] const std::u32string& name(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    [[nodiscard]] std::vector<std::u32string> readNames();

    const platform::FileSystem& m_fileSystem;
    platform::Collator m_collator;
    std::u32string m_directory;
    std::u32string m_mask = U"*.*";
    std::vector<std::u32string> m_names;
    std::optional<platform::SysError> m_error;
};

/// Sorts names in the collator's order, ties in code-point order. Computes one collation key
/// per name and compares the keys as bytes, which keeps large lists fast.
void sortByCollation(std::vector<std::u32string>& names, const platform::Collator& collator);

} // namespace quorvane::app
