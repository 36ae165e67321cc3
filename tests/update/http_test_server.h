// A version server for tests: answers each connection on 127.0.0.1 from a script.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::test {

/// What the server does with one connection once the request's empty line has come.
struct Answer
{
    QByteArray bytes; ///< "{PORT}" in it becomes the server's own port
    bool close = true; ///< false: send, then keep the connection open and say nothing more
    int trickleMs = 0; ///< above 0: send one byte of `bytes` every trickleMs
};

/// Connections take the answers in order; the last one repeats. The server stops by itself
/// after kLifetimeMs even if the code under test never lets go of a connection.
class HttpTestServer
{
public:
    static constexpr int kLifetimeMs = 20000;

    explicit HttpTestServer(std::vector<Answer> answers)
        : m_answers(std::move(answers))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
        m_lifetime.setSingleShot(true);
        QObject::connect(&m_lifetime, &QTimer::timeout, [this] { stop(); });
        m_lifetime.start(kLifetimeMs);
    }
    ~HttpTestServer() { stop(); }
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    [[nodiscard]] quint16 port() const { return m_server.serverPort(); }
    [[nodiscard]] std::string url(const char* path = "/quorvane-latest-version") const
    {
        return "http://127.0.0.1:" + std::to_string(port()) + path;
    }
    /// Every request received, whole.
    [[nodiscard]] const QList<QByteArray>& requests() const { return m_requests; }

    void stop()
    {
        m_server.close();
        for (const QPointer<QTcpSocket>& socket : m_sockets)
            if (socket)
                socket->abort();
    }

private:
    void serve(QTcpSocket* socket)
    {
        m_sockets.append(socket);
        auto received = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            const bool complete = received->contains("\r\n\r\n");
            received->append(socket->readAll());
            if (!complete && received->contains("\r\n\r\n")) {
                m_requests.append(*received);
                answer(socket, m_answers.at(std::min(m_next++, m_answers.size() - 1)));
            }
        });
    }

    void answer(QTcpSocket* socket, const Answer& script)
    {
        QByteArray bytes = script.bytes;
        bytes.replace("{PORT}", QByteArray::number(port()));
        const qsizetype piece = script.trickleMs > 0 ? 1 : std::max<qsizetype>(bytes.size(), 1);
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [=, sent = qsizetype { 0 }]() mutable {
            if (sent < bytes.size()) {
                socket->write(bytes.mid(sent, piece));
                sent += piece;
                return;
            }
            timer->stop();
            if (script.close)
                socket->disconnectFromHost();
        });
        timer->start(script.trickleMs);
    }

    std::vector<Answer> m_answers;
    std::size_t m_next = 0;
    QTcpServer m_server;
    QTimer m_lifetime;
    QList<QPointer<QTcpSocket>> m_sockets;
    QList<QByteArray> m_requests;
};

} // namespace quorvane::test
