// The browsing side's directory monitor: the lists follow changes made by other programs.
#include "browse_pane.h"

#include "directory_list_box.h"
#include "file_list_box.h"
#include "qt_text.h"
#include "slot_guard.h"
#include "tdirmon.h"

#include "engine/prompts.h"

#include <QTimer>
#include <QToolButton>

namespace quorvane::app {

namespace {

// Long enough to gather a burst of changes (another program writing thousands of files)
// into one re-read, short enough to feel immediate.
constexpr int kRefreshDelayMs = 150;

} // namespace

void BrowsePane::createMonitor()
{
    DirMon1 = new TDirMon(this);
    DirMon1->setObjectName(QStringLiteral("DirMon1"));
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(kRefreshDelayMs);
    connect(m_refreshTimer, &QTimer::timeout, this,
        guardedSlot(m_prompts, this, &BrowsePane::RefreshLists));
    connect(DirMon1, &TDirMon::Created, this, &BrowsePane::DirMon1Created);
    connect(DirMon1, &TDirMon::Deleted, this, &BrowsePane::DirMon1Deleted);
    connect(DirMon1, &TDirMon::Renamed, this, &BrowsePane::DirMon1Renamed);
}

void BrowsePane::monitorFailed(const char* what)
{
    // Watching could not start: say why; the lists can still be refreshed by hand.
    aggiorna->setVisible(true);
    m_prompts.tell({ "EDirMonError", engine::Severity::Error, toCore(QString::fromUtf8(what)) });
}

void BrowsePane::setMonitorActive(bool active)
{
    if (m_state.platformKind != engine::PlatformKind::NT || DirMon1->Active() == active)
        return;
    try {
        DirMon1->setActive(active);
    } catch (const EDirMonError& e) {
        monitorFailed(e.what());
    }
}

void BrowsePane::followWithMonitor()
{
    // Re-pointing restarts the watch; a directory that is already watched keeps its watch, so
    // clicks in the file list do not drop changes that are on their way.
    if (!MonitorEchoGuard) {
        const std::u32string path = DirectoryListBox1->directory();
        if (DirMon1->Path() != path && DirMon1->Path() != path + U"/") {
            try {
                DirMon1->setPath(path);
            } catch (const EDirMonError& e) {
                monitorFailed(e.what());
            }
        }
    }
    MonitorEchoGuard = false;
}

void BrowsePane::DirMon1Created(const std::u32string& /*name*/)
{
    m_refreshTimer->start();
}

void BrowsePane::DirMon1Deleted(const std::u32string& /*name*/)
{
    m_refreshTimer->start();
}

void BrowsePane::DirMon1Renamed(
    const std::u32string& /*oldName*/, const std::u32string& /*newName*/)
{
    m_refreshTimer->start();
}

void BrowsePane::RefreshLists()
{
    // A run in progress re-reads the lists itself when it ends; re-reading them while it
    // paints itself would show half-renamed states.
    if (m_running)
        return;
    MonitorEchoGuard = true;
    DirectoryListBox1->update();
    MonitorEchoGuard = true;
    FileListBox1->update(); // its change handler clears the guard
    MonitorEchoGuard = false;
    Aggiorna_StatusBar();
}

} // namespace quorvane::app
