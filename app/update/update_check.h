// "Cerca aggiornamenti" and the automatic check at start-up: ask, compare, tell.
#pragma once

#include "http_url.h"
#include "update_outcome.h"
#include "update_request.h"

#include <QObject>

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::update {

/// Who asked: the menu command reports every outcome, the automatic check at start-up keeps
/// quiet when the program is up to date.
enum class UpdateTrigger { Manual, Automatic };

/// Asks the version server whether a newer version exists and tells the outcome through
/// Prompts (one OK box: LATEST_VERSION, NEW_VERSION with the server's text shown as plain
/// text, or CANT_CHECK). Never blocks: the request runs on the event loop.
///
/// How the main window uses it (one object for the window's life, owned by the window):
///
///     m_updateCheck = new update::UpdateCheck(m_prompts, this);
///     connect(checkUpdate, &QAction::triggered, m_updateCheck, &update::UpdateCheck::startManual);
///
/// and, on the first showEvent only, when the settings allow automatic checks
/// (AutoCheckUpdate), as the last step and after the window has had its first paint:
///
///     QTimer::singleShot(0, m_updateCheck, &update::UpdateCheck::startAutomatic);
///
/// While a check waits (for the server or for its message box to be closed) another start
/// is refused and the one running goes on undisturbed.
class UpdateCheck final : public QObject
{
    Q_OBJECT

public:
    /// `prompts` must outlive this object. The server is the configured one (update_server.h).
    explicit UpdateCheck(engine::Prompts& prompts, QObject* parent = nullptr);

    /// Another server, for tests and for the command line's --server.
    void setServer(const HttpUrl& url) { m_server = url; }
    [[nodiscard]] const HttpUrl& server() const { return m_server; }
    /// The request, to adjust its timeouts and limits.
    [[nodiscard]] UpdateRequest& request() { return m_request; }

    /// Starts a check; false while one is still waiting.
    bool start(UpdateTrigger trigger);
    [[nodiscard]] bool isWaiting() const { return m_waiting; }

public slots:
    void startManual() { start(UpdateTrigger::Manual); }
    void startAutomatic() { start(UpdateTrigger::Automatic); }

signals:
    /// Emitted once per check when the answer is in (or the request failed), before its
    /// message is shown.
    void answered();
    /// Emitted once per check, after its message (if any) has been closed.
    void finished(quorvane::update::UpdateOutcome outcome);

private:
    void onFetched(const FetchResult& result);

    engine::Prompts& m_prompts;
    UpdateRequest m_request;
    HttpUrl m_server;
    UpdateTrigger m_trigger = UpdateTrigger::Manual;
    bool m_waiting = false;
};

} // namespace quorvane::update
