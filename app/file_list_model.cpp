// The entries of one directory that the file list shows: every non-directory matching a mask.
#include "file_list_model.h"

#include "qt_text.h"

#include "platform/file_system.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace quorvane::app {

namespace {

// How often the GUI thread looks for finished reads while one is running: short against a
// person's patience, long against the event loop's work.
constexpr int kPollMs = 15;

} // namespace

/// One read in flight: its number, its stop flag, its thread and, once `done`, its result.
struct FileListModel::Read
{
    std::uint64_t generation = 0;
    std::atomic<bool> cancelled = false;
    std::atomic<bool> done = false;
    std::optional<DirectoryListing> result; // written by the thread before `done`
    std::thread thread;
};

FileListModel::FileListModel(const platform::FileSystem& fileSystem, QObject* parent)
    : QAbstractListModel(parent)
    , m_fileSystem(fileSystem)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FileListModel::collectReads);
}

FileListModel::~FileListModel()
{
    // The threads read through the file system the owner is about to destroy.
    for (const std::unique_ptr<Read>& read : m_reads)
        read->cancelled = true;
    for (const std::unique_ptr<Read>& read : m_reads)
        read->thread.join();
}

void FileListModel::setDirectory(const std::u32string& dir)
{
    m_directory = dir;
    clear();
    startRead();
}

void FileListModel::setMask(const std::u32string& mask)
{
    m_mask = mask;
    clear();
    startRead();
}

void FileListModel::reload()
{
    startRead();
}

void FileListModel::clear()
{
    if (m_names.empty() && !m_error)
        return;
    beginResetModel();
    m_names = {};
    m_error.reset();
    endResetModel();
}

void FileListModel::startRead()
{
    for (const std::unique_ptr<Read>& older : m_reads)
        older->cancelled = true;
    auto read = std::make_unique<Read>();
    read->generation = ++m_generation;
    // The worker gets copies and its own collator; it shares only the file system and its Read,
    // which lives until the thread is joined. The GUI thread polls for the result instead of
    // being called from the worker: joining the thread before taking its result is a hand-over
    // that needs no lock and that ThreadSanitizer can see, where Qt's queue is hidden from it.
    read->thread = std::thread([fs = &m_fileSystem, state = read.get(),
                                   dir = platform::encodeName(m_directory), mask = m_mask] {
        const platform::Collator collator;
        state->result = readListing(*fs, collator, dir, mask, state->cancelled);
        state->done.store(true, std::memory_order_release);
    });
    m_reads.push_back(std::move(read));
    m_poll.start();
    m_loading = true;
    emit loadingStarted();
}

void FileListModel::collectReads()
{
    std::optional<DirectoryListing> newest;
    for (auto it = m_reads.begin(); it != m_reads.end();) {
        Read& read = **it;
        if (!read.done.load(std::memory_order_acquire)) {
            ++it;
            continue;
        }
        read.thread.join(); // it has finished: this costs no more than its exit
        // Only the newest read's result counts; a superseded one is thrown away.
        if (read.generation == m_generation && read.result)
            newest = std::move(read.result);
        it = m_reads.erase(it);
    }
    if (m_reads.empty())
        m_poll.stop();
    if (newest)
        showListing(std::move(*newest));
}

void FileListModel::showListing(DirectoryListing listing)
{
    emit listAboutToArrive();
    // One reset for the whole list: views drop their per-row state once, not per entry.
    beginResetModel();
    m_names = std::move(listing.names);
    m_error = std::move(listing.error);
    m_loading = false;
    endResetModel();
    emit listArrived();
}

void sortByCollation(std::vector<std::u32string>& names, const platform::Collator& collator)
{
    const std::vector<std::uint32_t> order = collator.sortOrder(
        names.size(), [&](std::size_t i, std::u32string& text) { text = names[i]; });
    std::vector<std::u32string> sorted;
    sorted.reserve(names.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

std::u32string FileListModel::name(int row) const
{
    return platform::decodeName(nameBytes(row));
}

std::string_view FileListModel::nameBytes(int row) const
{
    if (row < 0 || row >= count())
        throw std::out_of_range("FileListModel::nameBytes: no such row");
    return m_names.bytes(static_cast<std::size_t>(row));
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
