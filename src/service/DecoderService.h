#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QTcpServer;

// The decoder page over HTTP/1.1: "/" answers a form, "/cgi-usr/qpx/gcp.pl?name=<code>" the decoded
// code. Runs on the thread that owns it; reads and writes no files. A client cannot hold it up: a
// connection has a fixed time to send its request, the open connections are capped below the
// process's file limit, and a request that is not HTTP is answered 400 and closed at once.
class DecoderService : public QObject {
    Q_OBJECT
  public:
    explicit DecoderService(QObject* parent = nullptr);
    ~DecoderService() override;
    DecoderService(const DecoderService&) = delete;
    DecoderService& operator=(const DecoderService&) = delete;

    // Starts listening; port 0 picks a free port. False when the address cannot be bound.
    bool Listen(const QHostAddress& address, quint16 port = 0);
    quint16 Port() const { return m_port; }
    QHostAddress Address() const { return m_address; }
    // The host part of the decoder address: "127.0.0.1:8080", "[::1]:8080".
    QString HostAndPort() const;

    // Told one line per answered request: method and path as received (control characters
    // escaped, the query left out), status, body bytes sent.
    void SetRequestLog(std::function<void(const QString&)> log) { m_log = std::move(log); }

    // A request longer than this is refused and its connection closed: a request line with 414, a
    // head with 431, a body with 413. No request here needs more than a few kilobytes, and every
    // byte of a head is held in memory until it is complete.
    static constexpr qint64 kMaxPendingBytes = 256 * 1024;
    // A connection must complete a request within this time of opening, or of its previous answer,
    // or it is closed: however slowly it sends, it cannot hold its place for longer.
    void SetRequestDeadline(int milliseconds) { m_deadlineMs = milliseconds; }
    int RequestDeadline() const { return m_deadlineMs; }
    // At most this many connections are open at once; at the cap no new one is accepted until one
    // closes (the others wait in the system's queue).
    void SetConnectionCap(int cap);
    int ConnectionCap() const { return m_cap; }
    int OpenConnections() const { return m_open; }
    // The default cap: well below the process's limit of open files, so the program keeps room for
    // its own.
    static int DefaultConnectionCap();

  private:
    class Connection;
    void Accept(qintptr descriptor);
    void UpdateAccepting();
    void Log(const QString& line) const;

    QTcpServer* m_server = nullptr;
    QHostAddress m_address;
    quint16 m_port = 0;
    int m_deadlineMs = 10000;
    int m_cap;
    int m_open = 0;
    bool m_paused = false;
    QTimer m_acceptRetry; // after the system refused to accept (out of files), a pause before trying again
    std::function<void(const QString&)> m_log;
};
