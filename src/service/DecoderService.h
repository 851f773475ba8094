#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <functional>

class QUrl;

// The decoder page over HTTP: "/" answers a form, "/cgi-usr/qpx/gcp.pl?name=<code>" the decoded
// code. Runs on the thread that owns it; reads and writes no files.
class DecoderService : public QAbstractHttpServer {
    Q_OBJECT
  public:
    explicit DecoderService(QObject* parent = nullptr);

    // Starts listening; port 0 picks a free port. False when the address cannot be bound.
    bool Listen(const QHostAddress& address, quint16 port = 0);
    quint16 Port() const { return m_port; }
    QHostAddress Address() const { return m_address; }
    // The host part of the decoder address: "127.0.0.1:8080", "[::1]:8080".
    QString HostAndPort() const;

    // Told one line per answered request: method, path, status, body bytes sent.
    void SetRequestLog(std::function<void(const QString&)> log) { m_log = std::move(log); }

    // A connection that sends this much without completing a request is dropped: requests are
    // held in memory until they are complete, and no request here needs more than a few kilobytes.
    static constexpr qint64 kMaxPendingBytes = 256 * 1024;
    // A connection silent this long is closed, so idle sockets do not pile up.
    void SetIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    void WatchConnection(QTcpSocket* socket);

    QHostAddress m_address;
    quint16 m_port = 0;
    int m_idleTimeoutMs = 30000;
    std::function<void(const QString&)> m_log;
};

// The query of a request URL as the client sent it. Qt's request parser reads the query leniently:
// a query with a bare "%" (a purity score, ':x75%') comes out with every "%" escaped again, so
// "%20" would read as the text "%20". This undoes that.
QByteArray SentQuery(const QUrl& url);

// A decoder address as a URL a browser can be given, its own escapes ("%20", "%2B") kept as they are.
// A URL cannot carry a bare "%", nor "|", "<" or ">": those go out escaped ("%25", "%7C", ...),
// which the decoder page reads back as the same characters.
QUrl BrowserUrl(const QString& address);
