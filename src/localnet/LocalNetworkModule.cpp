// SPDX-License-Identifier: MIT
// The module behind LocalNetwork: the only part of the encoder that uses Qt's network library.
#include <QHostAddress>
#include <QLocalServer>
#include <QLocalSocket>

#include "localnet/LocalNetwork.h"
#include "service/DecoderService.h"

namespace {

// A browser needs a handful.
constexpr int kEmbeddedConnections = 8;

class LocalNetworkServices final : public LocalNetwork {
  public:
    QObject* serveDecoderPage(QObject* parent, QString& site) override {
        auto* service = new DecoderService(parent);
        // A few connections at most, so that no flood on the port can take the encoder's own files.
        service->setConnectionCap(kEmbeddedConnections);
        // The browser sends its request as soon as it connects: a connection that has sent
        // nothing, at the cap, is another program's and gives way at once.
        service->setGiveWayGrace(0);
        service->setPathPrefix(QLatin1Char('/') + DecoderService::makePathSecret());
        if (!service->listen(QHostAddress::LocalHost, 0)) {
            delete service;
            return nullptr;
        }
        site = service->hostAndPort() + service->pathPrefix();
        return service;
    }

    std::unique_ptr<QObject> listen(const QString& name, std::function<void()> reached) override {
        auto server = std::make_unique<QLocalServer>();
        QLocalServer::removeServer(name);
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(name))
            return nullptr;
        QLocalServer* listening = server.get();
        QObject::connect(listening, &QLocalServer::newConnection, listening, [listening, reached] {
            while (QLocalSocket* socket = listening->nextPendingConnection()) {
                // Nothing is read: being reached is the whole request.
                socket->disconnectFromServer();
                socket->deleteLater();
                reached();
            }
        });
        return server;
    }

    bool reach(const QString& name, int timeoutMs) override {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(timeoutMs))
            return false;
        socket.disconnectFromServer();
        return true;
    }
};

} // namespace

extern "C" Q_DECL_EXPORT LocalNetwork* GlomieLocalNetwork1() {
    static LocalNetworkServices services;
    return &services;
}
