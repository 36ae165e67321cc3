// The directory monitor: watches one directory for changes made by any program.
#pragma once

#include <QFlags>
#include <QObject>

#include <memory>
#include <stdexcept>
#include <string>

namespace quorvane::platform {
struct ChangeRecord;
}

namespace quorvane::app {

class TWaitThread;

/// The monitor's error: watching could not start. The message is the system's text for the
/// error of the call that failed (for example "No such file or directory").
class EDirMonError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Kinds of change the monitor reports. On Linux several share one notification: see
/// platform::ChangeFilter for what each one watches.
enum TWatchFilter : unsigned {
    nfFILE_NAME = 0x1,
    nfDIR_NAME = 0x2,
    nfATTRIBUTES = 0x4,
    nfSIZE = 0x8,
    nfLAST_WRITE = 0x10,
    nfLAST_ACCESS = 0x20,
    nfCREATION = 0x40,
    nfSECURITY = 0x100,
};
using TWatchFilters = QFlags<TWatchFilter>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TWatchFilters)

/// Watches the directory `Path` (and with `WatchSubtree` everything below it) and emits a
/// signal for every change, on the thread that owns the monitor (the GUI thread), in the
/// order the changes happened. Names are code points (platform::decodeName of the name
/// bytes) relative to `Path`, "sub/name" inside a subdirectory; a rename within the watched
/// tree is one Renamed, a move out of it Deleted, a move in Created. Changes lost to a full
/// kernel queue are not reported. An idle monitor sleeps without using the processor.
///
/// A handler may do anything, nested event loops included; while it runs, the next batch
/// waits. A handler may even stop or restart the monitor: that drops the rest of the batch
/// (the window avoids it all the same, since re-reading its lists from inside an event must
/// not move the watch).
class TDirMon : public QObject
{
    Q_OBJECT

public:
    /// Inactive, no path, no subtree, filters nfFILE_NAME, nfDIR_NAME, nfLAST_WRITE and
    /// nfCREATION.
    explicit TDirMon(QObject* parent = nullptr);
    /// Stops watching first.
    ~TDirMon() override;
    TDirMon(const TDirMon&) = delete;
    TDirMon& operator=(const TDirMon&) = delete;
    TDirMon(TDirMon&&) = delete;
    TDirMon& operator=(TDirMon&&) = delete;

    [[nodiscard]] bool Active() const { return m_worker != nullptr; }
    /// The worker thread while active, null otherwise; owned by the monitor. Tests wait on its
    /// stage to act at a known point of a hand-over.
    [[nodiscard]] const TWaitThread* worker() const { return m_worker.get(); }
    /// true runs StartWatching (and may throw EDirMonError), false StopWatching.
    void setActive(bool active);

    /// The watched directory, ending in "/"; empty until a directory is set.
    [[nodiscard]] const std::u32string& Path() const { return m_path; }
    /// When `path` names an existing directory (a symbolic link to one counts), Path becomes
    /// `path` with a "/" appended if missing; otherwise Path keeps its value. An active
    /// monitor is then restarted on Path, the old one when `path` was refused; if that
    /// fails, the monitor is left inactive and EDirMonError is thrown.
    void setPath(const std::u32string& path);

    [[nodiscard]] bool WatchSubtree() const { return m_watchSubtree; }
    /// Takes effect at the next StartWatching.
    void setWatchSubtree(bool watchSubtree) { m_watchSubtree = watchSubtree; }

    [[nodiscard]] TWatchFilters WatchFilters() const { return m_watchFilters; }
    /// Takes effect at the next StartWatching.
    void setWatchFilters(TWatchFilters filters) { m_watchFilters = filters; }

    /// Starts watching Path unless already active. With no filter it stays inactive and
    /// reports nothing. Throws EDirMonError when the directory cannot be watched (it does
    /// not exist any more, is not a directory, cannot be read, the watch limit is reached);
    /// the monitor stays inactive.
    void StartWatching();
    /// Stops watching unless inactive; afterwards no signal is emitted for earlier changes.
    /// Never waits for the GUI thread, so it is safe from anywhere on it.
    void StopWatching();

signals:
    void Created(const std::u32string& FileName);
    void Deleted(const std::u32string& FileName);
    void Modified(const std::u32string& FileName);
    void Renamed(const std::u32string& fromFileName, const std::u32string& toFileName);

private:
    void DispatchNotification(const platform::ChangeRecord& record);

    std::u32string m_path;
    bool m_watchSubtree = false;
    TWatchFilters m_watchFilters { nfFILE_NAME, nfDIR_NAME, nfLAST_WRITE, nfCREATION };
    std::unique_ptr<TWaitThread> m_worker; ///< present exactly while active
};

} // namespace quorvane::app
