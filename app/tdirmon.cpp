// The directory monitor: watches one directory for changes made by any program.
#include "tdirmon.h"

#include "twait_thread.h"

#include "platform/inotify_watcher.h"
#include "platform/name_codec.h"
#include "platform/volumes.h"

#include <QPointer>

#include <cstdint>
#include <system_error>

namespace quorvane::app {

namespace {

constexpr bool sameBit(TWatchFilter ours, platform::ChangeFilter platforms)
{
    return static_cast<std::uint32_t>(ours) == static_cast<std::uint32_t>(platforms);
}

// The filter bits are the platform's, so the set converts without a table.
static_assert(sameBit(nfFILE_NAME, platform::FileNameFilter)
    && sameBit(nfDIR_NAME, platform::DirNameFilter)
    && sameBit(nfATTRIBUTES, platform::AttributesFilter) && sameBit(nfSIZE, platform::SizeFilter)
    && sameBit(nfLAST_WRITE, platform::LastWriteFilter)
    && sameBit(nfLAST_ACCESS, platform::LastAccessFilter)
    && sameBit(nfCREATION, platform::CreationFilter)
    && sameBit(nfSECURITY, platform::SecurityFilter));

} // namespace

TDirMon::TDirMon(QObject* parent)
    : QObject(parent)
{ }

TDirMon::~TDirMon()
{
    StopWatching();
}

void TDirMon::setActive(bool active)
{
    if (active)
        StartWatching();
    else
        StopWatching();
}

void TDirMon::setPath(const std::u32string& path)
{
    if (platform::isDirectory(platform::encodeName(path)))
        m_path = path.back() == U'/' ? path : path + U'/';
    if (Active()) {
        StopWatching();
        StartWatching();
    }
}

void TDirMon::StartWatching()
{
    if (Active())
        return;
    const auto filters = static_cast<std::uint32_t>(m_watchFilters.toInt());
    if (filters == 0)
        return;
    auto opened
        = platform::InotifyWatcher::open(platform::encodeName(m_path), filters, m_watchSubtree);
    if (!opened)
        throw EDirMonError(opened.error().text());
    try {
        m_worker = std::make_unique<TWaitThread>(*this, std::move(opened.value()),
            [monitor = QPointer<TDirMon>(this)](const platform::ChangeRecord& record) {
                if (monitor) // a handler may have destroyed the monitor
                    monitor->DispatchNotification(record);
            });
    } catch (const std::system_error& error) {
        throw EDirMonError(error.code().message());
    }
}

void TDirMon::StopWatching()
{
    if (!Active())
        return;
    // Inactive before the worker ends, so that nothing can reach a half-stopped worker.
    const std::unique_ptr<TWaitThread> worker = std::move(m_worker);
    worker->stop();
}

void TDirMon::DispatchNotification(const platform::ChangeRecord& record)
{
    const std::u32string name = platform::decodeName(record.name);
    switch (record.action) {
    case platform::ChangeAction::Created:
        emit Created(name);
        break;
    case platform::ChangeAction::Deleted:
        emit Deleted(name);
        break;
    case platform::ChangeAction::Modified:
        emit Modified(name);
        break;
    case platform::ChangeAction::Renamed:
        emit Renamed(name, platform::decodeName(record.newName));
        break;
    }
}

} // namespace quorvane::app
