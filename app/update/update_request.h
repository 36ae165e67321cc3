// One update request: an HTTP/1.0 GET on a QTcpSocket, driven by the event loop.
#pragma once

#include "http_reply_reader.h"
#include "http_url.h"
#include "update_outcome.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class QTcpSocket;

namespace quorvane::update {

/// Asks the version server for its answer without blocking: the caller's event loop keeps
/// running (the window stays live) and finished() reports the end. Follows at most
/// kMaxRedirects redirections (300 to 302, to http:// URLs only, a relative Location resolved
/// against the URL asked). Only status 200 with the whole body (as its Content-Length or its
/// chunks frame it, else up to the close) is received; every other end of a request is a
/// failure whose text says why. No proxy is used.
class UpdateRequest final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRedirects = 5;
    static constexpr std::chrono::milliseconds kDefaultInactivityTimeout { 4000 };
    static constexpr std::chrono::milliseconds kDefaultTotalTimeout { 30000 };

    explicit UpdateRequest(QObject* parent = nullptr);
    ~UpdateRequest() override;
    UpdateRequest(const UpdateRequest&) = delete;
    UpdateRequest& operator=(const UpdateRequest&) = delete;

    /// How long the name lookup, the connection and every wait for more data may take; the
    /// clock restarts with every packet received.
    void setInactivityTimeout(std::chrono::milliseconds timeout) { m_inactivity = timeout; }
    /// How long one whole request may take, redirections included, however steadily a
    /// server trickles its bytes.
    void setTotalTimeout(std::chrono::milliseconds timeout) { m_total = timeout; }
    void setLimits(const ReplyLimits& limits) { m_limits = limits; }

    /// Starts a request; false, and nothing changes, while one is still running.
    [[nodiscard]] bool start(const HttpUrl& url);
    [[nodiscard]] bool isRunning() const { return m_running; }

signals:
    /// Emitted exactly once per started request, after the connection is closed; a slot may
    /// start the next request at once.
    void finished(const quorvane::update::FetchResult& result);

private:
    void connectTo(const HttpUrl& url);
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onSocketError();
    /// The header block is complete or the server closed: follow, refuse or answer.
    void replyEnded(bool closed);
    void fail(const std::string& why);
    void finish(const FetchResult& result);
    void dropSocket();

    std::chrono::milliseconds m_inactivity = kDefaultInactivityTimeout;
    std::chrono::milliseconds m_total = kDefaultTotalTimeout;
    ReplyLimits m_limits;
    QTcpSocket* m_socket = nullptr;
    QTimer m_inactivityTimer;
    QTimer m_totalTimer;
    HttpReplyReader m_reader;
    HttpUrl m_url;
    int m_redirects = 0;
    bool m_running = false;
};

} // namespace quorvane::update
