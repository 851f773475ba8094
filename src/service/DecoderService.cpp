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
#include "platform/FreedMemory.h"
#include "service/DecoderPage.h"

namespace {

// The most connections held at once, whatever the file limit: each holds some memory.
constexpr int kMaxConnections = 4096;
// Connections waiting in the system's queue to be accepted: a burst of clients waits there rather
// than have its attempts dropped, and retried a second or more later.
constexpr int kListenBacklog = 511;
// At the cap, how often the service looks again for a connection that may give way.
constexpr int kGiveWayCheckMs = 100;
// How long after connections went the memory they held is handed back to the system.
constexpr int kReleaseMemoryMs = 1000;

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

DecoderService::DecoderService(QObject* parent) : QObject(parent), m_cap(defaultConnectionCap()) {
    m_acceptRetry.setSingleShot(true);
    m_acceptRetry.setInterval(1000);
    connect(&m_acceptRetry, &QTimer::timeout, this, &DecoderService::updateAccepting);
    m_giveWayCheck.setSingleShot(true);
    m_giveWayCheck.setInterval(kGiveWayCheckMs);
    connect(&m_giveWayCheck, &QTimer::timeout, this, &DecoderService::updateAccepting);
    m_releaseMemory.setSingleShot(true);
    m_releaseMemory.setInterval(kReleaseMemoryMs);
    connect(&m_releaseMemory, &QTimer::timeout, this, [] { ReleaseFreedMemory(); });
    m_rules.answers = &m_answers;
    m_rules.becameIdle = [this] { updateAccepting(); };
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
    // At the cap, the connection that has waited longest without a request to answer gives way; with
    // none such, or over the cap per client, the new one is closed at once, never held. (QTcpServer
    // can hand over several connections at once, a pause notwithstanding.)
    HttpConnection* makesRoom = m_open >= m_cap ? connectionToGiveWay() : nullptr;
    if ((m_open >= m_cap && !makesRoom) ||
        (m_perClientCap > 0 && m_openByPeer.value(peer) >= m_perClientCap)) {
        socket->abort();
        delete socket;
        updateAccepting();
        return;
    }
    if (makesRoom) {
        makesRoom->drop();
        release(makesRoom);
    }
    ++m_open;
    ++m_openByPeer[peer];
    auto* connection = new HttpConnection(socket, m_rules, peer);
    m_connections.push_back(connection);
    connect(socket, &QObject::destroyed, this, [this, connection] { release(connection); });
    updateAccepting();
}

void DecoderService::release(HttpConnection* connection) {
    const qsizetype at = m_connections.indexOf(connection);
    if (at < 0)
        return;
    m_connections.removeAt(at);
    --m_open;
    if (--m_openByPeer[connection->peer()] <= 0)
        m_openByPeer.remove(connection->peer());
    if (!m_releaseMemory.isActive())
        m_releaseMemory.start();
    updateAccepting();
}

HttpConnection* DecoderService::connectionToGiveWay() const {
    HttpConnection* longest = nullptr;
    qint64 longestSince = 0;
    for (HttpConnection* connection : m_connections) {
        qint64 since = 0;
        if (connection->mayGiveWay(m_graceMs, &since) && (!longest || since < longestSince)) {
            longest = connection;
            longestSince = since;
        }
    }
    return longest;
}

void DecoderService::updateAccepting() {
    if (!m_server)
        return;
    // At the cap with no connection to give way, no new one is accepted: QTcpServer takes every
    // connection waiting, one after another, until it counts as many pending connections as this
    // allows; none are ever pending here, so 0 ends its round, and the others wait in the queue.
    const bool blocked = m_open >= m_cap && !connectionToGiveWay();
    m_server->setMaxPendingConnections(blocked ? 0 : kMaxConnections);
    if (blocked && !m_paused) {
        m_server->pauseAccepting();
        m_paused = true;
    } else if (!blocked && m_paused && !m_acceptRetry.isActive()) {
        m_server->resumeAccepting();
        m_paused = false;
    }
    // A connection may come to give way by waiting: look again in a while.
    if (blocked && !m_giveWayCheck.isActive())
        m_giveWayCheck.start();
}

void DecoderService::setPathPrefix(const QString& prefix) {
    QString path = prefix;
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    m_rules.pathPrefix = path.toStdString();
    m_answers.clear(); // the pages link their form to the prefix
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
        std::string body = file.readAll().toStdString();
        std::string policy = name.ends_with(".html") ? SitePagePolicy(body) : std::string();
        site[name] = SiteFile{std::move(body), type, std::move(policy)};
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

QString DecoderService::hostAndPort() const {
    const QString host = m_address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(m_address.toString())
                             : m_address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(m_port);
}
