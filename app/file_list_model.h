// The entries of one directory that the file list shows: every non-directory matching a mask.
#pragma once

#include "name_listing.h"

#include "platform/collator.h"
#include "platform/sys_error.h"

#include <QAbstractListModel>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

/// The files, symbolic links and other non-directory entries of a directory whose names match a
/// mask, hidden ones included, in the user's case-insensitive collation order (ties in code-point
/// order). Names are kept exactly as read, as bytes in one buffer; name() decodes them losslessly
/// and the display role shows undecodable bytes as U+FFFD. One row per entry, no columns.
///
/// Directories are read, filtered and sorted on a worker thread, so that a directory of a million
/// entries never stops the window: every change of directory or mask and every reload starts a
/// read, the list is replaced in one model reset when the read is done, and a newer read supersedes
/// any older one still running, whose result is thrown away.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    /// Reads through `fileSystem`, which must outlive the model and be safe to read from a worker
    /// thread while the GUI thread uses it.
    explicit FileListModel(const platform::FileSystem& fileSystem, QObject* parent = nullptr);
    /// Stops the reads still running and waits for them: they use the file system.
    ~FileListModel() override;
    FileListModel(const FileListModel&) = delete;
    FileListModel& operator=(const FileListModel&) = delete;

    /// Empties the list at once (the old directory's names must not be taken for the new one's) and
    /// starts reading `dir` (an absolute path, "/"-separated) with the mask.
    void setDirectory(const std::u32string& dir);
    [[nodiscard]] const std::u32string& directory() const { return m_directory; }

    /// As setDirectory, for the current directory with `mask` ("*.mp3", "*.*", "a*;b*"; letter case
    /// ignored). The mask is "*.*" until set.
    void setMask(const std::u32string& mask);
    [[nodiscard]] const std::u32string& mask() const { return m_mask; }

    /// Starts reading the current directory again; the list shown stays until the new one replaces
    /// it. A directory that cannot be read gives an empty list and sets readError().
    void reload();

    /// True from the start of a read until its list is in place.
    [[nodiscard]] bool isLoading() const { return m_loading; }
    /// The reads, superseded ones included, whose threads have not reported back yet.
    [[nodiscard]] std::size_t readsInFlight() const { return m_reads.size(); }

    /// Why the last read failed; nullopt after a successful read.
    [[nodiscard]] const std::optional<platform::SysError>& readError() const { return m_error; }

    /// The number of entries listed.
    [[nodiscard]] int count() const { return static_cast<int>(m_names.size()); }
    /// The real name of row `row` (0 <= row < count()).
    [[nodiscard]] std::u32string name(int row) const;
    /// The bytes of row `row`'s name (0 <= row < count()), valid until the list changes.
    [[nodiscard]] std::string_view nameBytes(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

signals:
    /// A read started (isLoading() is true).
    void loadingStarted();
    /// The newest read is done: the list is about to be replaced (the old one still shows).
    void listAboutToArrive();
    /// The newest read's list is in place and isLoading() is false.
    void listArrived();

private:
    struct Read;

    void clear();
    void startRead();
    void collectReads();
    void showListing(DirectoryListing listing);

    const platform::FileSystem& m_fileSystem;
    std::u32string m_directory;
    std::u32string m_mask = U"*.*";
    NameListing m_names;
    std::optional<platform::SysError> m_error;
    bool m_loading = false;
    /// The newest read's number; a result carrying another number is stale.
    std::uint64_t m_generation = 0;
    /// The reads whose threads have not been joined yet, the newest last.
    std::vector<std::unique_ptr<Read>> m_reads;
    /// Runs while m_reads is not empty, looking for finished reads.
    QTimer m_poll;
};

/// Sorts names in the collator's order, ties in code-point order. Computes one collation key per
/// name and compares the keys as bytes, which keeps large lists fast.
void sortByCollation(std::vector<std::u32string>& names, const platform::Collator& collator);

} // namespace quorvane::app
