#include "service/DecoderService.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include "service/DecoderPage.h"

namespace {

bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool HasBarePercent(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'%' && (i + 2 >= text.size() || !IsHexDigit(text[i + 1].unicode()) ||
                                !IsHexDigit(text[i + 2].unicode())))
            return true;
    return false;
}

const char* MethodName(QHttpServerRequest::Method method) {
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    case QHttpServerRequest::Method::Options:
        return "OPTIONS";
    case QHttpServerRequest::Method::Patch:
        return "PATCH";
    case QHttpServerRequest::Method::Connect:
        return "CONNECT";
    case QHttpServerRequest::Method::Trace:
        return "TRACE";
    default:
        return "OTHER";
    }
}

const char kPendingBytes[] = "glomiePendingBytes";

// A listening socket that shows each new connection to a watcher before the HTTP server takes it,
// so the watcher's handlers run before the server's.
class WatchedServer : public QTcpServer {
  public:
    WatchedServer(std::function<void(QTcpSocket*)> watch, QObject* parent)
        : QTcpServer(parent), m_watch(std::move(watch)) {}

  protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        m_watch(socket);
        addPendingConnection(socket);
    }

  private:
    std::function<void(QTcpSocket*)> m_watch;
};

} // namespace

QByteArray SentQuery(const QUrl& url) {
    const QString encoded = url.query(QUrl::FullyEncoded);
    const QString decoded = url.query(QUrl::FullyDecoded);
    // A bare "%" made the parser take the whole query as unescaped text; if parsing the decoded
    // query again gives the same result, the decoded query is what was sent.
    if (HasBarePercent(decoded)) {
        QUrl probe;
        probe.setQuery(decoded);
        if (probe.query(QUrl::FullyEncoded) == encoded)
            return decoded.toUtf8();
    }
    return encoded.toUtf8();
}

QUrl BrowserUrl(const QString& address) {
    // Escaping the bare "%" first keeps QUrl's lenient parsing from escaping every other "%" again.
    QByteArray bytes;
    const QByteArray utf8 = address.toUtf8();
    bytes.reserve(utf8.size() + 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const bool escape = i + 2 < utf8.size() && IsHexDigit(static_cast<unsigned char>(utf8[i + 1])) &&
                            IsHexDigit(static_cast<unsigned char>(utf8[i + 2]));
        bytes += utf8[i] == '%' && !escape ? QByteArrayLiteral("%25") : QByteArray(1, utf8[i]);
    }
    return QUrl::fromEncoded(bytes, QUrl::TolerantMode);
}

DecoderService::DecoderService(QObject* parent) : QAbstractHttpServer(parent) {}

bool DecoderService::Listen(const QHostAddress& address, quint16 port) {
    auto* server = new WatchedServer([this](QTcpSocket* socket) { WatchConnection(socket); }, this);
    if (!server->listen(address, port)) {
        delete server;
        return false;
    }
    bind(server);
    m_address = address;
    m_port = server->serverPort();
    return true;
}

void DecoderService::WatchConnection(QTcpSocket* socket) {
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(m_idleTimeoutMs);
    connect(idle, &QTimer::timeout, socket, &QTcpSocket::disconnectFromHost);
    idle->start();
    socket->setProperty(kPendingBytes, qint64(0));
    connect(socket, &QTcpSocket::readyRead, socket, [socket, idle] {
        idle->start();
        const qint64 pending = socket->property(kPendingBytes).toLongLong() + socket->bytesAvailable();
        socket->setProperty(kPendingBytes, pending);
        if (pending > kMaxPendingBytes)
            socket->abort();
    });
}

QString DecoderService::HostAndPort() const {
    const QString host = m_address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(m_address.toString())
                             : m_address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(m_port);
}

bool DecoderService::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    socket->setProperty(kPendingBytes, qint64(0));
    const QUrl url = request.url();
    const QHttpServerRequest::Method method = request.method();
    const RequestMethod kind = method == QHttpServerRequest::Method::Get    ? RequestMethod::Get
                               : method == QHttpServerRequest::Method::Head ? RequestMethod::Head
                                                                            : RequestMethod::Other;
    const QByteArray path = url.path(QUrl::FullyEncoded).toUtf8();
    const QByteArray query = SentQuery(url);
    const DecoderReply reply = AnswerRequest(kind, std::string_view(path.constData(), size_t(path.size())),
                                             std::string_view(query.constData(), size_t(query.size())));

    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(reply.Status));
    responder.writeHeader("Content-Type", "text/html; charset=utf-8");
    responder.writeHeader("Content-Length", QByteArray::number(qsizetype(reply.Body.size())));
    // The page needs nothing but its own inline style, and sends its form only to itself.
    responder.writeHeader("Content-Security-Policy",
                          "default-src 'none'; style-src 'unsafe-inline'; "
                          "form-action 'self'; base-uri 'none'; frame-ancestors 'none'");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    responder.writeHeader("Cache-Control", "no-store");
    if (reply.Status == 405)
        responder.writeHeader("Allow", "GET, HEAD");
    const bool close = request.value("Connection").compare("close", Qt::CaseInsensitive) == 0;
    if (close)
        responder.writeHeader("Connection", "close");
    const qint64 sent = kind == RequestMethod::Head ? 0 : qint64(reply.Body.size());
    responder.writeBody(reply.Body.data(), sent);
    if (close)
        socket->disconnectFromHost();

    if (m_log)
        m_log(QStringLiteral("%1 %2 %3 %4")
                  .arg(QLatin1String(MethodName(method)), QString::fromUtf8(path.left(200)))
                  .arg(reply.Status)
                  .arg(sent));
    return true;
}

void DecoderService::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    // Every request is answered by handleRequest; this only keeps a stray one from going unanswered.
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}
