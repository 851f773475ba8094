// SPDX-License-Identifier: MIT
#include "service/HttpConnection.h"

#include <QTcpSocket>
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "platform/SocketShutdown.h"
#include "service/DecoderPage.h"
#include "text/EscapeControls.h"

namespace {

// Bytes read from a socket at a time, and all that Qt holds of a client's input before the client
// must wait: a connection that sends and never reads costs this much, however much it sends.
constexpr qint64 kReadChunk = 8 * 1024;
// What the system holds of answers a client has not taken yet: past it the rest waits in the
// connection's own buffer, and no further request of that client is read meanwhile.
constexpr int kSendBufferBytes = 64 * 1024;
// The most of a request line the log shows.
constexpr size_t kMaxLoggedBytes = 200;
// How long a connection being closed is given, once its last answer is out, to stop sending:
// closing with input unread would reset the connection, and the client could lose the answer.
constexpr int kLingerMs = 2000;

const char* ReasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 431:
        return "Request Header Fields Too Large";
    case 501:
        return "Not Implemented";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Error";
    }
}

QByteArray StatusLine(int status) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) + "\r\n";
}

// The headers every answer carries after its status line and Content-Type.
void AppendCommonHeaders(QByteArray& headers, qsizetype bodyLength, bool close, bool fromSite = false,
                         std::string_view pagePolicy = {}) {
    headers += "Content-Length: ";
    headers += QByteArray::number(bodyLength);
    headers += "\r\n";
    if (fromSite) {
        // A page of the site has its own policy (which names its inline loader); its scripts, its
        // module, its style sheet, its manifest and its offline worker come from its folder alone.
        // Either way, with what a policy in a page cannot say.
        const QByteArray policy =
            !pagePolicy.empty()
                ? QByteArray(pagePolicy.data(), qsizetype(pagePolicy.size()))
                : QByteArrayLiteral("default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; "
                                    "style-src 'self'; img-src 'self' data:; connect-src 'self'; "
                                    "worker-src 'self'; manifest-src 'self'; form-action 'none'; "
                                    "base-uri 'none'");
        headers +=
            "Content-Security-Policy: " + policy + "; frame-ancestors 'none'\r\nCache-Control: no-cache\r\n";
    } else { // the page needs nothing but its own inline style, and sends its form only to itself
        headers += "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'; "
                   "form-action 'self'; base-uri 'none'; frame-ancestors 'none'\r\n"
                   "Cache-Control: no-store\r\n";
    }
    headers += "X-Content-Type-Options: nosniff\r\n"
               "Referrer-Policy: no-referrer\r\n";
    if (close)
        headers += "Connection: close\r\n";
}

QString LogText(std::string_view text) {
    return QString::fromStdString(EscapeControls(text.substr(0, kMaxLoggedBytes)));
}

// The path and the query of a request target: "/path?query", or "http://host/path?query" as a
// proxy sends it.
std::pair<std::string_view, std::string_view> SplitTarget(std::string_view target) {
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (target.size() > scheme.size() &&
            std::equal(scheme.begin(), scheme.end(), target.begin(), [](char a, char b) {
                return a == (b >= 'A' && b <= 'Z' ? char(b - 'A' + 'a') : b);
            })) {
            const size_t path = target.find('/', scheme.size());
            target = path == std::string_view::npos ? std::string_view("/") : target.substr(path);
            break;
        }
    }
    const size_t question = target.find('?');
    if (question == std::string_view::npos)
        return {target, {}};
    return {target.substr(0, question), target.substr(question + 1)};
}

// Whether the path lies under the prefix ("/secret/..."), compared in a time that does not tell how
// much of a guess was right.
bool IsUnderPrefix(std::string_view path, std::string_view prefix) {
    if (path.size() <= prefix.size() || path[prefix.size()] != '/')
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < prefix.size(); ++i)
        difference |= static_cast<unsigned char>(path[i] ^ prefix[i]);
    return difference == 0;
}

} // namespace

HttpConnection::HttpConnection(QTcpSocket* socket, const ConnectionRules& rules, QHostAddress peer)
    : QObject(socket), m_socket(socket), m_rules(rules), m_peer(std::move(peer)),
      m_head(ConnectionRules::kMaxPendingBytes) {
    socket->setReadBufferSize(kReadChunk);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    // An answer goes out whole at once: nothing to gain from holding its end back.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_clock.start();
    m_timer.setSingleShot(true);
    // Past its time a connection is dropped without an answer, whatever it is doing.
    connect(&m_timer, &QTimer::timeout, this, &HttpConnection::deadlineReached);
    setDeadline(rules.deadlineMs);
    connect(socket, &QTcpSocket::readyRead, this, &HttpConnection::process);
    connect(socket, &QTcpSocket::bytesWritten, this, &HttpConnection::progress);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

// Most deadlines are set later than the one before (each request, each answer): the timer is started
// again only when one is sooner than it, and otherwise, when it runs out early, for the rest. A busy
// connection does not register a timer with the event loop for every request.
void HttpConnection::setDeadline(int milliseconds) {
    const qint64 now = m_clock.elapsed();
    m_deadline = now + milliseconds;
    if (!m_timer.isActive() || m_deadline < m_timerDue) {
        m_timerDue = m_deadline;
        m_timer.start(milliseconds);
    }
}

void HttpConnection::deadlineReached() {
    const qint64 left = m_deadline - m_clock.elapsed();
    if (left > 0) {
        m_timerDue = m_deadline;
        m_timer.start(int(left));
        return;
    }
    drop();
}

bool HttpConnection::mayGiveWay(int graceMs, qint64* since) const {
    // On the system's monotonic clock, which every connection shares: each one's own clock starts
    // when it is accepted, so its readings say nothing about another's.
    *since = m_clock.msecsSinceReference() + m_phaseSince;
    if (m_phase == Phase::Idle)
        return true;
    if (m_phase != Phase::Request || m_clock.elapsed() - m_phaseSince < graceMs)
        return false;
    // Not one whose request has come and is not read yet (a new client's, with a newcomer in the same
    // round).
    return m_socket->bytesAvailable() == 0 && BytesWaiting(m_socket->socketDescriptor()) <= 0;
}

// The client took some of an answer: it has the send time again for the rest.
void HttpConnection::progress() {
    if ((m_phase == Phase::Sending || m_phase == Phase::Closing) && m_socket->bytesToWrite() > 0)
        setDeadline(m_rules.deadlineMs);
    process();
}

void HttpConnection::process() {
    if (m_busy)
        return;
    m_busy = true;
    if (m_phase == Phase::Sending && m_socket->bytesToWrite() == 0)
        answerSent();
    // The next request waits until the client has taken the answer to this one.
    while (!closing() && m_phase != Phase::Sending) {
        if (m_buffer.isEmpty())
            m_buffer = m_socket->read(std::min(m_socket->bytesAvailable(), kReadChunk));
        if (m_buffer.isEmpty())
            break;
        if (!m_readingBody && !readHead())
            break;
        if (m_readingBody) {
            const qint64 dropped = std::min<qint64>(m_bodyLeft, m_buffer.size());
            m_buffer.remove(0, dropped);
            m_bodyLeft -= dropped;
            if (m_bodyLeft == 0)
                answer();
        }
    }
    if (closing())
        linger();
    m_busy = false;
}

// Feeds the buffer to the head; false when no request follows on this connection.
bool HttpConnection::readHead() {
    const size_t used = m_head.read(std::string_view(m_buffer.constData(), size_t(m_buffer.size())));
    m_buffer.remove(0, qsizetype(used));
    if (used > 0 && m_phase == Phase::Idle) {
        // The next request's time counts from its first byte; none of its later bytes extends it.
        m_phase = Phase::Request;
        m_phaseSince = m_clock.elapsed();
        setDeadline(m_rules.deadlineMs);
    }
    switch (m_head.state()) {
    case RequestHead::Status::Incomplete:
        return true;
    case RequestHead::Status::LineTooLong:
        refuse(414);
        return false;
    case RequestHead::Status::TooLong:
        refuse(431);
        return false;
    case RequestHead::Status::Malformed:
        refuse(400);
        return false;
    case RequestHead::Status::Complete:
        break;
    }
    const RequestFraming framing = FrameRequest(m_head, ConnectionRules::kMaxPendingBytes);
    if (framing.Error != 0) {
        refuse(framing.Error);
        return false;
    }
    m_keepAlive = framing.KeepAlive;
    m_bodyLeft = qint64(framing.BodyLength);
    if (framing.ContinueExpected && m_bodyLeft > 0) {
        // The answer never depends on a body, and this client may wait for a go-ahead before it
        // sends one: it is answered at once. Whether the body follows is then up to the client, so
        // the connection ends, and lingering drops the body if it comes.
        m_keepAlive = false;
        m_bodyLeft = 0;
    }
    m_readingBody = true;
    return true;
}

void HttpConnection::answer() {
    ++m_answered;
    auto [path, query] = SplitTarget(m_head.target());
    const std::string& prefix = m_rules.pathPrefix;
    if (!prefix.empty()) {
        if (!IsUnderPrefix(path, prefix)) {
            refuse(404);
            return;
        }
        path.remove_prefix(prefix.size());
    }
    if (m_answered >= ConnectionRules::kMaxRequestsPerConnection)
        m_keepAlive = false;
    const std::string& method = m_head.method();
    const RequestMethod kind = method == "GET"    ? RequestMethod::Get
                               : method == "HEAD" ? RequestMethod::Head
                                                  : RequestMethod::Other;
    // Most answers go out on a kept-alive HTTP/1.1 connection, with no Connection header: those are
    // kept for the next request of the same page.
    const bool usual = m_keepAlive && m_head.version() == "HTTP/1.1";
    if (usual) {
        m_request.assign(method).append(1, ' ').append(path).append(1, '?').append(query);
        if (const AnswerCache::Answer* cached =
                m_rules.answers ? m_rules.answers->find(m_request) : nullptr) {
            send(cached->response);
            tell(cached->logLine);
            awaitNext();
            return;
        }
    }
    const DecoderReply reply =
        AnswerRequest(kind, path, query, prefix, m_rules.site ? &*m_rules.site : nullptr);
    const std::string_view body = reply.body();
    QByteArray head = StatusLine(reply.Status);
    head.reserve(1024 + (reply.FromSite ? 0 : qsizetype(body.size())));
    head += "Content-Type: ";
    head.append(reply.ContentType.data(), qsizetype(reply.ContentType.size()));
    head += "\r\n";
    AppendCommonHeaders(head, qsizetype(body.size()), !m_keepAlive, reply.FromSite, reply.SitePolicy);
    if (!reply.Location.empty())
        head += "Location: " + QByteArray::fromStdString(reply.Location) + "\r\n";
    if (reply.Status == 405)
        head += "Allow: GET, HEAD\r\n";
    if (m_keepAlive && m_head.version() == "HTTP/1.0")
        head += "Connection: keep-alive\r\n";
    head += "\r\n";
    const qsizetype sent = kind == RequestMethod::Head ? 0 : qsizetype(body.size());
    const QString logLine = LogText(method) + QLatin1Char(' ') + LogText(path) + QLatin1Char(' ') +
                            QString::number(reply.Status) + QLatin1Char(' ') + QString::number(sent);
    if (reply.FromSite) {
        // A file of the site is handed to the socket as it is, not copied for each client: the site
        // outlives every connection.
        send(head, QByteArray::fromRawData(body.data(), sent));
    } else {
        head.append(body.data(), sent);
        send(head);
        if (usual && m_rules.answers)
            m_rules.answers->keep(m_request, {head, logLine});
    }
    tell(logLine);
    if (!m_keepAlive) {
        close();
        return;
    }
    awaitNext();
}

// An answer has gone to the socket, and the connection stays: the next request is read once the
// client has taken it.
void HttpConnection::awaitNext() {
    m_head = RequestHead(ConnectionRules::kMaxPendingBytes);
    m_readingBody = false;
    m_phase = Phase::Sending;
    setDeadline(m_rules.deadlineMs);
    if (m_socket->bytesToWrite() == 0)
        answerSent();
}

// The answer is all out: the connection waits for the next request.
void HttpConnection::answerSent() {
    m_phase = Phase::Idle;
    m_phaseSince = m_clock.elapsed();
    setDeadline(std::min(m_rules.idleMs, m_rules.deadlineMs));
    if (m_rules.becameIdle)
        m_rules.becameIdle(); // an idle connection may make room for a new one
}

// Answers a request that cannot be served, and closes: what follows it cannot be trusted.
void HttpConnection::refuse(int status) {
    const QByteArray body = QByteArray(ReasonPhrase(status)) + '\n';
    // An answer to HEAD has no body, even an error's.
    const bool withBody = m_head.state() != RequestHead::Status::Complete || m_head.method() != "HEAD";
    QByteArray head = StatusLine(status) + "Content-Type: text/plain; charset=utf-8\r\n";
    AppendCommonHeaders(head, body.size(), true);
    head += "\r\n";
    send(head + (withBody ? body : QByteArray()));
    tell(LogText(m_head.requestLine()) + QLatin1Char(' ') + QString::number(status) + QLatin1Char(' ') +
         QString::number(withBody ? body.size() : 0));
    close();
}

void HttpConnection::tell(const QString& line) const {
    if (m_rules.log)
        m_rules.log(line);
}

void HttpConnection::send(const QByteArray& head, const QByteArray& body) {
    // With nothing of an earlier answer waiting, straight to the system, head and body in one call:
    // no copy, and no write notification to turn on and off again for an answer that goes out whole.
    qint64 sent = 0;
    if (m_socket->bytesToWrite() == 0 && m_socket->state() == QAbstractSocket::ConnectedState)
        sent = std::max<qint64>(SendAvailable(m_socket->socketDescriptor(), head, body), 0);
    // The rest (all of it, if the connection failed: the socket finds out itself) waits in the socket,
    // which shares an array of 4 KiB or more rather than copy it. The body outlives the connection
    // (a file of the site): what is left of it is handed over in place, never copied.
    if (sent == 0)
        m_socket->write(head);
    else if (sent < head.size())
        m_socket->write(head.sliced(sent));
    const qint64 bodySent = std::max<qint64>(sent - head.size(), 0);
    if (bodySent < body.size())
        m_socket->write(QByteArray::fromRawData(body.constData() + bodySent, body.size() - bodySent));
    // Out at once: a client that has half-closed its side is gone from Qt's view as soon as its end
    // of stream is read, and what is still buffered then would be lost.
    if (m_socket->bytesToWrite() > 0)
        m_socket->flush();
}

// No further request is read; the connection ends once its last answer is out (see linger()), which
// the client must keep taking.
void HttpConnection::close() {
    m_phase = Phase::Closing;
    setDeadline(m_rules.deadlineMs);
}

// A lingering close: once the last answer is out, only the sending side is shut, and what the
// client still sends is read and dropped until it closes its side or kLingerMs have passed. Closing
// at once with its input unread would reset the connection, and the client could lose the answer.
void HttpConnection::linger() {
    m_buffer.clear();
    m_socket->skip(m_socket->bytesAvailable());
    if (m_phase != Phase::Closing || m_socket->bytesToWrite() > 0)
        return;
    if (m_socket->state() != QAbstractSocket::ConnectedState ||
        !ShutdownSending(m_socket->socketDescriptor())) {
        drop();
        return;
    }
    m_phase = Phase::Lingering;
    setDeadline(kLingerMs);
}

void HttpConnection::drop() {
    m_timer.stop();
    m_phase = Phase::Lingering;
    // Whatever the system still holds for this client goes at once, rather than wait there for a
    // client that does not take it.
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        ResetOnClose(m_socket->socketDescriptor());
    m_socket->abort();
    m_socket->deleteLater();
}
