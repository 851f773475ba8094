// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "service/AnswerCache.h"
#include "service/DecoderPage.h"
#include "service/RequestHead.h"

class QTcpSocket;

// What a connection takes from the service that accepted it: the limits and what is served, set
// before it listens; the answers kept for requests that come again; and whom it tells of its
// answers and of becoming idle.
struct ConnectionRules {
    // A request longer than this is refused and its connection closed (see DecoderService).
    static constexpr qint64 kMaxPendingBytes = 256 * 1024;
    // The answer to this many requests on one connection says "Connection: close", and closes it.
    static constexpr int kMaxRequestsPerConnection = 100;
    int deadlineMs = 10000;
    int idleMs = 5000;
    std::string pathPrefix;
    std::optional<EncoderSite> site;
    // The service's, shared by its connections.
    AnswerCache* answers = nullptr;
    // One line per answered request.
    std::function<void(const QString&)> log;
    // A connection became idle between requests, so it may now make room for a new one.
    std::function<void()> becameIdle;
};

// One client's connection to the decoder service: reads its requests in turn and answers each. It
// is closed when the client asks, after ConnectionRules::kMaxRequestsPerConnection answers, when a
// request cannot be served, or when the client is too slow to send a request or to take an answer;
// after a last answer its input is read and dropped for a while, so that the client gets the answer
// rather than a reset. While an answer is not yet taken, no further request is read: a client that
// does not read holds one answer at most. Lives as long as its socket, which is its parent.
class HttpConnection : public QObject {
  public:
    // The rules outlive the connection: they belong to the service, which deletes its connections first.
    HttpConnection(QTcpSocket* socket, const ConnectionRules& rules, QHostAddress peer);

    const QHostAddress& peer() const { return m_peer; }
    // When the service is at its cap, whether this connection may be closed to make room for a new
    // one, and since when it may (the longest waiting gives way first): one idle between requests,
    // or one that has not sent a whole request within the grace time. `since` is on the monotonic
    // clock, comparable between connections.
    bool mayGiveWay(int graceMs, qint64* since) const;
    // Closed at once, without an answer.
    void drop();

  private:
    enum class Phase {
        Request,   // reading a request; the timer is its deadline
        Sending,   // an answer is going out; the timer is the time the client has to take more of it
        Idle,      // kept open after an answer, no byte of the next request yet
        Closing,   // the last answer is going out
        Lingering, // the sending side is shut; the client's input is read and dropped
    };

    void process();
    bool closing() const { return m_phase == Phase::Closing || m_phase == Phase::Lingering; }
    bool readHead();
    void answer();
    void refuse(int status);
    // body: data that outlives the connection, or nothing.
    void tell(const QString& line) const;
    void send(const QByteArray& head, const QByteArray& body = {});
    void awaitNext();
    // Drops the connection in this many milliseconds (from now), unless set again before.
    void setDeadline(int milliseconds);
    void deadlineReached();
    void answerSent();
    void close();
    void linger();
    void progress();

    QTcpSocket* m_socket;
    const ConnectionRules& m_rules;
    QHostAddress m_peer;
    QTimer m_timer; // runs out at m_deadline or before (then it is started again for the rest)
    QElapsedTimer m_clock;
    qint64 m_deadline = 0;   // on m_clock
    qint64 m_timerDue = 0;   // on m_clock: when m_timer runs out
    std::string m_request;   // the request as the answers kept are found by: method, path and query
    qint64 m_phaseSince = 0; // on m_clock: when the request or the idle time began
    Phase m_phase = Phase::Request;
    RequestHead m_head;
    QByteArray m_buffer;
    qint64 m_bodyLeft = 0;
    int m_answered = 0;
    bool m_readingBody = false;
    bool m_keepAlive = false;
    bool m_busy = false;
};
