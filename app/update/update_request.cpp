// One update request: an HTTP/1.0 GET on a QTcpSocket, driven by the event loop.
#include "update_request.h"

#include <QNetworkProxy>
#include <QTcpSocket>

namespace quorvane::update {

UpdateRequest::UpdateRequest(QObject* parent)
    : QObject(parent)
{
    m_inactivityTimer.setSingleShot(true);
    m_totalTimer.setSingleShot(true);
    // A coarse timer may fire 5 % early: a server would be given up after 3.8 s, not 4.
    m_inactivityTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_inactivityTimer, &QTimer::timeout, this, [this] {
        fail("no answer from " + m_url.host + " within " + std::to_string(m_inactivity.count())
            + " ms");
    });
    connect(&m_totalTimer, &QTimer::timeout, this,
        [this] { fail("the answer took longer than " + std::to_string(m_total.count()) + " ms"); });
}

// The socket is a child and goes with this object; nothing may be reported from here.
UpdateRequest::~UpdateRequest()
{
    if (m_socket != nullptr)
        m_socket->disconnect(this);
}

bool UpdateRequest::start(const HttpUrl& url)
{
    if (m_running)
        return false;
    m_running = true;
    m_redirects = 0;
    m_totalTimer.start(m_total);
    connectTo(url);
    return true;
}

void UpdateRequest::connectTo(const HttpUrl& url)
{
    m_url = url;
    m_reader = HttpReplyReader(m_limits);
    m_socket = new QTcpSocket(this);
    m_socket->setProxy(QNetworkProxy::NoProxy);
    // Every sign of life from the network restarts the inactivity clock.
    connect(m_socket, &QTcpSocket::hostFound, this, [this] { m_inactivityTimer.start(); });
    connect(m_socket, &QTcpSocket::connected, this, &UpdateRequest::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &UpdateRequest::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &UpdateRequest::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &UpdateRequest::onSocketError);
    m_inactivityTimer.start(m_inactivity);
    m_socket->connectToHost(QString::fromStdString(url.host), url.port);
}

void UpdateRequest::onConnected()
{
    m_inactivityTimer.start();
    const std::string request = requestBytes(m_url);
    m_socket->write(request.data(), static_cast<qint64>(request.size()));
}

void UpdateRequest::onReadyRead()
{
    m_inactivityTimer.start();
    const bool hadHeaders = m_reader.headersDone();
    const QByteArray bytes = m_socket->readAll();
    if (!m_reader.feed(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        fail("the server's reply was refused: " + m_reader.failure());
        return;
    }
    // A redirection or a refused status is decided by the headers; an answer once its body
    // is known to be whole.
    if (m_reader.headersDone() && (!hadHeaders || m_reader.complete()))
        replyEnded(false);
}

void UpdateRequest::onDisconnected()
{
    // Bytes that came with the close are still waiting to be read; they may end the request
    // or redirect it to a new socket, and then this close is no longer news.
    const QTcpSocket* closing = m_socket;
    if (m_socket->bytesAvailable() > 0)
        onReadyRead();
    if (m_socket == closing)
        replyEnded(true);
}

void UpdateRequest::onSocketError()
{
    // The server closing its end is how an HTTP/1.0 body ends: disconnected() follows.
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    fail(m_socket->errorString().toStdString());
}

void UpdateRequest::replyEnded(bool closed)
{
    if (!m_reader.headersDone()) {
        if (closed && !m_reader.end())
            fail("the server's reply was refused: " + m_reader.failure());
        return;
    }
    const int status = m_reader.status();
    switch (statusKindOf(status)) {
    case StatusKind::Answer:
        // An error page may well quote the version; only the server's own answer counts.
        if (status != 200) {
            fail("status " + std::to_string(status) + " instead of 200");
            return;
        }
        if (closed && !m_reader.end()) {
            fail("the server's reply was refused: " + m_reader.failure());
            return;
        }
        if (!closed && !m_reader.complete())
            return;
        finish({ true, m_reader.body(), {} });
        return;
    case StatusKind::Unusable:
        fail("status " + std::to_string(status) + " without an answer");
        return;
    case StatusKind::Redirect:
        break;
    }
    if (!m_reader.location()) {
        fail("redirection (status " + std::to_string(status) + ") without a Location");
        return;
    }
    const std::optional<HttpUrl> next = resolveLocation(m_url, *m_reader.location());
    if (!next) {
        fail("redirection to \"" + *m_reader.location() + "\", which is not an http:// URL");
        return;
    }
    if (m_redirects == kMaxRedirects) {
        fail("more than " + std::to_string(kMaxRedirects) + " redirections");
        return;
    }
    ++m_redirects;
    dropSocket();
    connectTo(*next);
}

void UpdateRequest::fail(const std::string& why)
{
    finish({ false, {}, why });
}

void UpdateRequest::finish(const FetchResult& result)
{
    if (!m_running)
        return;
    m_inactivityTimer.stop();
    m_totalTimer.stop();
    dropSocket();
    m_running = false;
    emit finished(result);
}

void UpdateRequest::dropSocket()
{
    if (m_socket == nullptr)
        return;
    // This may run inside one of the socket's own signals: cut it loose, delete it later.
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

} // namespace quorvane::update
