// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "service/AnswerCache.h"
#include "service/DecoderPage.h"
#include "service/HttpConnection.h"

class QTcpServer;

// The encoder's site from a folder: every file in it the site may hold (see SiteContentType), read
// now; nothing when the folder holds no index.html.
std::optional<EncoderSite> LoadEncoderSite(const QString& folder);

// The decoder page over HTTP/1.1: "/" answers a form, "/cgi-usr/qpx/gcp.pl?name=<code>" the decoded
// code. Runs on the thread that owns it; reads and writes no files. A client cannot hold it up: a
// connection has a fixed time to send each request, to take each part of its answer and a shorter
// one to start the next, holds one answer at most, serves at most kMaxRequestsPerConnection
// requests, the open connections are capped below the process's file limit (at the cap the one idle
// longest makes room for a new one), and a request that is not HTTP is answered 400 and closed.
class DecoderService : public QObject {
    Q_OBJECT
  public:
    explicit DecoderService(QObject* parent = nullptr);
    ~DecoderService() override;
    DecoderService(const DecoderService&) = delete;
    DecoderService& operator=(const DecoderService&) = delete;

    // Starts listening; port 0 picks a free port. False when the address cannot be bound.
    bool listen(const QHostAddress& address, quint16 port = 0);
    quint16 port() const { return m_port; }
    QHostAddress address() const { return m_address; }
    // The host part of the decoder address: "127.0.0.1:8080", "[::1]:8080".
    QString hostAndPort() const;

    // Told one line per answered request: method and path as received (control characters
    // escaped, the query left out), status, body bytes sent.
    void setRequestLog(std::function<void(const QString&)> log) { m_rules.log = std::move(log); }

    // A request longer than this is refused and its connection closed: a request line with 414, a
    // head with 431, a body with 413. No request here needs more than a few kilobytes, and every
    // byte of a head is held in memory until it is complete.
    static constexpr qint64 kMaxPendingBytes = ConnectionRules::kMaxPendingBytes;
    // A connection must complete a request within this time of opening, or of the first byte of a
    // later request, or it is closed without an answer: however slowly it sends, further bytes do
    // not extend it. A client must also take some more of its answer within this time, or the
    // connection is dropped.
    void setRequestDeadline(int milliseconds) { m_rules.deadlineMs = milliseconds; }
    int requestDeadline() const { return m_rules.deadlineMs; }
    // A connection kept open after an answer is closed when no next request starts within this time
    // (never longer than the request deadline).
    void setIdleTimeout(int milliseconds) { m_rules.idleMs = milliseconds; }
    int idleTimeout() const { return m_rules.idleMs; }
    // The answer to this many requests on one connection says "Connection: close", and closes it.
    static constexpr int kMaxRequestsPerConnection = ConnectionRules::kMaxRequestsPerConnection;
    // At most this many connections are open at once. At the cap a new one takes the place of the one
    // that has waited longest without a request to answer: idle between two requests, or not having
    // sent a whole request within the grace time below. With none such, no new one is accepted until
    // one closes (the others wait in the system's queue), and one the server is handed all the same
    // is closed at once.
    void setConnectionCap(int cap);
    int connectionCap() const { return m_cap; }
    // The grace time above (1 s by default); 0 lets any connection without a whole request give way.
    void setGiveWayGrace(int milliseconds) { m_graceMs = std::max(milliseconds, 0); }
    int openConnections() const { return m_open; }
    // The default cap: below the process's limit of open files, so the program keeps room for its
    // own.
    static int defaultConnectionCap();
    // At most this many connections from one peer address; a further one is closed at once. 0 (the
    // default) sets no such cap: behind a reverse proxy every client has the proxy's address.
    void setPerClientCap(int cap) { m_perClientCap = std::max(cap, 0); }
    int perClientCap() const { return m_perClientCap; }

    // Serves only under this path: with "/secret", "/secret/" is the form and
    // "/secret/cgi-usr/qpx/gcp.pl?name=<code>" the decoded code; a request for any other path is
    // answered 404 and its connection closed. Empty, the default, serves from "/". The prefix is
    // compared with the path as sent, so it should hold URL-safe characters only.
    void setPathPrefix(const QString& prefix);
    QString pathPrefix() const { return QString::fromStdString(m_rules.pathPrefix); }
    // The encoder in the browser, served under /encoder/ beside the decoder page, which then links a
    // code to it.
    void setEncoderSite(EncoderSite site) {
        m_rules.site = std::move(site);
        m_answers.clear();
    }
    bool servesEncoderSite() const { return m_rules.site.has_value(); }

    // A secret for a path prefix that no one can guess: 128 bits from the system's random source,
    // in the URL-safe base64 alphabet (22 characters).
    static QString makePathSecret();

  private:
    void accept(qintptr descriptor);
    void release(HttpConnection* connection);
    HttpConnection* connectionToGiveWay() const;
    void updateAccepting();

    QTcpServer* m_server = nullptr;
    QHostAddress m_address;
    quint16 m_port = 0;
    ConnectionRules m_rules;
    int m_graceMs = 1000;
    int m_cap;
    int m_open = 0;
    int m_perClientCap = 0;
    QHash<QHostAddress, int> m_openByPeer;
    QList<HttpConnection*> m_connections;
    bool m_paused = false;
    QTimer m_acceptRetry; // after the system refused to accept (out of files), a pause before trying again
    QTimer m_giveWayCheck;
    QTimer m_releaseMemory;
    AnswerCache m_answers;
};
