// SPDX-License-Identifier: MIT
#include "service/DecoderService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/FileLimit.h"
#include "platform/SocketShutdown.h"
#include "service/DecoderPage.h"
#include "service/RequestHead.h"
#include "text/EscapeControls.h"

namespace {

// The most connections held at once, whatever the file limit: each holds some memory.
constexpr int kMaxConnections = 4096;
// Bytes read from a socket at a time; Qt holds four times as much before the client must wait.
constexpr qint64 kReadChunk = 16 * 1024;
// Answers waiting for a client that does not read: past this, its further requests wait.
constexpr qint64 kMaxUnsentBytes = 256 * 1024;
// The most of a request line the log shows.
constexpr size_t kMaxLoggedBytes = 200;
// Connections waiting in the system's queue to be accepted: a burst of clients waits there rather
// than have its attempts dropped, and retried a second or more later.
constexpr int kListenBacklog = 511;
// How long a connection being closed is given to take its last answer, and then to stop sending:
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
QByteArray CommonHeaders(qsizetype bodyLength, bool close, bool fromSite = false) {
    QByteArray headers = "Content-Length: " + QByteArray::number(bodyLength) + "\r\n";
    if (fromSite) // the encoder's scripts, its module and its style sheet, from its own folder alone
        headers += "Content-Security-Policy: default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; "
                   "style-src 'self'; img-src 'self' data:; connect-src 'none'; form-action 'none'; "
                   "base-uri 'none'; frame-ancestors 'none'\r\n"
                   "Cache-Control: no-cache\r\n";
    else // the page needs nothing but its own inline style, and sends its form only to itself
        headers += "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'; "
                   "form-action 'self'; base-uri 'none'; frame-ancestors 'none'\r\n"
                   "Cache-Control: no-store\r\n";
    headers += "X-Content-Type-Options: nosniff\r\n"
               "Referrer-Policy: no-referrer\r\n";
    if (close)
        headers += "Connection: close\r\n";
    return headers;
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

// A listening socket that hands each accepted descriptor to the service.
class AcceptingServer : public QTcpServer {
  public:
    AcceptingServer(std::function<void(qintptr)> accept, QObject* parent)
        : QTcpServer(parent), m_accept(std::move(accept)) {}

  protected:
    void incomingConnection(qintptr descriptor) override { m_accept(descriptor); }

  private:
    std::function<void(qintptr)> m_accept;
};

} // namespace

// One client's connection: reads its requests in turn and answers each. It is closed when the
// client asks, after kMaxRequestsPerConnection answers, when a request cannot be served, or when
// the client is too slow; after a last answer its input is read and dropped for a while, so that
// the client gets the answer rather than a reset. Lives as long as its socket.
class DecoderService::Connection : public QObject {
  public:
    Connection(QTcpSocket* socket, const DecoderService& service)
        : QObject(socket), m_socket(socket), m_service(service), m_head(kMaxPendingBytes) {
        socket->setReadBufferSize(kReadChunk * 4);
        m_timer.setSingleShot(true);
        // Past its time a connection is dropped without an answer, whatever it is doing.
        connect(&m_timer, &QTimer::timeout, this, &Connection::drop);
        m_timer.start(service.m_deadlineMs);
        connect(socket, &QTcpSocket::readyRead, this, &Connection::process);
        connect(socket, &QTcpSocket::bytesWritten, this, &Connection::process);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

  private:
    enum class Phase {
        Request,   // reading a request; the timer is its deadline
        Idle,      // kept open after an answer, no byte of the next request yet
        Closing,   // the last answer is going out
        Lingering, // the sending side is shut; the client's input is read and dropped
    };

    void process() {
        if (m_busy)
            return;
        m_busy = true;
        while (!closing() && m_socket->bytesToWrite() <= kMaxUnsentBytes) {
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

    bool closing() const { return m_phase == Phase::Closing || m_phase == Phase::Lingering; }

    // Feeds the buffer to the head; false when no request follows on this connection.
    bool readHead() {
        const size_t used = m_head.read(std::string_view(m_buffer.constData(), size_t(m_buffer.size())));
        m_buffer.remove(0, qsizetype(used));
        if (used > 0 && m_phase == Phase::Idle) {
            // The next request's time counts from its first byte; none of its later bytes extends it.
            m_phase = Phase::Request;
            m_timer.start(m_service.m_deadlineMs);
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
        const RequestFraming framing = FrameRequest(m_head, kMaxPendingBytes);
        if (framing.Error != 0) {
            refuse(framing.Error);
            return false;
        }
        m_keepAlive = framing.KeepAlive;
        m_bodyLeft = qint64(framing.BodyLength);
        if (framing.ContinueExpected && m_bodyLeft > 0) {
            // The answer never depends on a body, and this client may wait for a go-ahead before it
            // sends one: it is answered at once. Whether the body follows is then up to the client,
            // so the connection ends, and lingering drops the body if it comes.
            m_keepAlive = false;
            m_bodyLeft = 0;
        }
        m_readingBody = true;
        return true;
    }

    void answer() {
        ++m_answered;
        auto [path, query] = SplitTarget(m_head.target());
        const std::string& prefix = m_service.m_pathPrefix;
        if (!prefix.empty()) {
            if (!IsUnderPrefix(path, prefix)) {
                refuse(404);
                return;
            }
            path.remove_prefix(prefix.size());
        }
        if (m_answered >= kMaxRequestsPerConnection)
            m_keepAlive = false;
        const std::string& method = m_head.method();
        const RequestMethod kind = method == "GET"    ? RequestMethod::Get
                                   : method == "HEAD" ? RequestMethod::Head
                                                      : RequestMethod::Other;
        const DecoderReply reply =
            AnswerRequest(kind, path, query, prefix, m_service.m_site ? &*m_service.m_site : nullptr);
        QByteArray answer = StatusLine(reply.Status) +
                            "Content-Type: " + QByteArray::fromStdString(std::string(reply.ContentType)) +
                            "\r\n" +
                            CommonHeaders(qsizetype(reply.Body.size()), !m_keepAlive, reply.FromSite);
        if (!reply.Location.empty())
            answer += "Location: " + QByteArray::fromStdString(reply.Location) + "\r\n";
        if (reply.Status == 405)
            answer += "Allow: GET, HEAD\r\n";
        if (m_keepAlive && m_head.version() == "HTTP/1.0")
            answer += "Connection: keep-alive\r\n";
        answer += "\r\n";
        const qsizetype sent = kind == RequestMethod::Head ? 0 : qsizetype(reply.Body.size());
        answer.append(reply.Body.data(), sent);
        send(answer);
        m_service.log(LogText(method) + QLatin1Char(' ') + LogText(path) + QLatin1Char(' ') +
                      QString::number(reply.Status) + QLatin1Char(' ') + QString::number(sent));
        if (!m_keepAlive) {
            close();
            return;
        }
        m_phase = Phase::Idle;
        m_timer.start(std::min(m_service.m_idleMs, m_service.m_deadlineMs));
        m_head = RequestHead(kMaxPendingBytes);
        m_readingBody = false;
    }

    // Answers a request that cannot be served, and closes: what follows it cannot be trusted.
    void refuse(int status) {
        const QByteArray body = QByteArray(ReasonPhrase(status)) + '\n';
        // An answer to HEAD has no body, even an error's.
        const bool withBody = m_head.state() != RequestHead::Status::Complete || m_head.method() != "HEAD";
        send(StatusLine(status) + "Content-Type: text/plain; charset=utf-8\r\n" +
             CommonHeaders(body.size(), true) + "\r\n" + (withBody ? body : QByteArray()));
        m_service.log(LogText(m_head.requestLine()) + QLatin1Char(' ') + QString::number(status) +
                      QLatin1Char(' ') + QString::number(withBody ? body.size() : 0));
        close();
    }

    void send(const QByteArray& bytes) {
        m_socket->write(bytes);
        // Out at once: a client that has half-closed its side is gone from Qt's view as soon as its
        // end of stream is read, and what is still buffered then would be lost.
        m_socket->flush();
    }

    // No further request is read; the connection ends once its last answer is out (see linger()).
    void close() {
        m_phase = Phase::Closing;
        m_timer.start(kLingerMs);
    }

    // A lingering close: once the last answer is out, only the sending side is shut, and what the
    // client still sends is read and dropped until it closes its side or kLingerMs have passed.
    // Closing at once with its input unread would reset the connection, and the client could lose
    // the answer.
    void linger() {
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
        m_timer.start(kLingerMs);
    }

    void drop() {
        m_socket->abort();
        m_socket->deleteLater();
    }

    QTcpSocket* m_socket;
    const DecoderService& m_service;
    QTimer m_timer;
    Phase m_phase = Phase::Request;
    RequestHead m_head;
    QByteArray m_buffer;
    qint64 m_bodyLeft = 0;
    int m_answered = 0;
    bool m_readingBody = false;
    bool m_keepAlive = false;
    bool m_busy = false;
};

DecoderService::DecoderService(QObject* parent) : QObject(parent), m_cap(defaultConnectionCap()) {
    m_acceptRetry.setSingleShot(true);
    m_acceptRetry.setInterval(1000);
    connect(&m_acceptRetry, &QTimer::timeout, this, &DecoderService::updateAccepting);
}

DecoderService::~DecoderService() {
    // The connections go first, while the count they keep is still there.
    const QList<QTcpSocket*> sockets = findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly);
    for (QTcpSocket* socket : sockets)
        delete socket;
}

int DecoderService::defaultConnectionCap() {
    if (const std::optional<long long> files = OpenFileLimit()) {
        // A sixteenth (at least 64) is kept for the program's own files: its standard streams, the
        // listening socket, the log, the event loop's. A connection over the cap takes no lasting
        // place: it is closed as soon as it is handed over.
        return int(std::clamp(*files - std::max(64LL, *files / 16), 8LL, (long long)kMaxConnections));
    }
    // No limit on files (Windows sets sockets none).
    return kMaxConnections;
}

void DecoderService::setConnectionCap(int cap) {
    m_cap = std::max(cap, 1);
    updateAccepting();
}

bool DecoderService::listen(const QHostAddress& address, quint16 port) {
    auto* server = new AcceptingServer([this](qintptr descriptor) { accept(descriptor); }, this);
    server->setListenBacklogSize(kListenBacklog);
    if (!server->listen(address, port)) {
        delete server;
        return false;
    }
    // Out of files: the server has stopped accepting; it tries again after a pause, not in a loop.
    connect(server, &QTcpServer::acceptError, this, [this] {
        m_paused = true;
        m_acceptRetry.start();
    });
    delete m_server;
    m_server = server;
    m_paused = false;
    m_address = address;
    m_port = server->serverPort();
    updateAccepting();
    return true;
}

void DecoderService::accept(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    const QHostAddress peer = socket->peerAddress();
    // QTcpServer can hand over several connections at once, a pause notwithstanding: one over a cap
    // is closed at once, never held.
    if (m_open >= m_cap || (m_perClientCap > 0 && m_openByPeer.value(peer) >= m_perClientCap)) {
        socket->abort();
        delete socket;
        updateAccepting();
        return;
    }
    ++m_open;
    ++m_openByPeer[peer];
    connect(socket, &QObject::destroyed, this, [this, peer] {
        --m_open;
        if (--m_openByPeer[peer] <= 0)
            m_openByPeer.remove(peer);
        updateAccepting();
    });
    new Connection(socket, *this);
    updateAccepting();
}

void DecoderService::updateAccepting() {
    if (!m_server)
        return;
    const bool full = m_open >= m_cap;
    // QTcpServer takes every connection waiting, one after another, until it counts as many pending
    // connections as this allows; none are ever pending here, so 0 ends its round at the cap.
    m_server->setMaxPendingConnections(full ? 0 : kMaxConnections);
    if (full && !m_paused) {
        m_server->pauseAccepting();
        m_paused = true;
    } else if (!full && m_paused && !m_acceptRetry.isActive()) {
        m_server->resumeAccepting();
        m_paused = false;
    }
}

void DecoderService::setPathPrefix(const QString& prefix) {
    QString path = prefix;
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    m_pathPrefix = path.toStdString();
}

std::optional<EncoderSite> LoadEncoderSite(const QString& folder) {
    const QDir dir(folder);
    if (folder.isEmpty() || !QFileInfo(dir.filePath(QStringLiteral("index.html"))).isFile())
        return std::nullopt;
    EncoderSite site;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files)) {
        const std::string name = entry.fileName().toStdString();
        const std::string_view type = SiteContentType(name);
        QFile file(entry.filePath());
        if (type.empty() || !file.open(QIODevice::ReadOnly))
            continue;
        site[name] = SiteFile{file.readAll().toStdString(), type};
    }
    return site;
}

QString DecoderService::makePathSecret() {
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    const QByteArray bytes(reinterpret_cast<const char*>(words), sizeof words);
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

void DecoderService::log(const QString& line) const {
    if (m_log)
        m_log(line);
}

QString DecoderService::hostAndPort() const {
    const QString host = m_address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(m_address.toString())
                             : m_address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(m_port);
}
