// SPDX-License-Identifier: MIT
// "Hello world" from Qt HttpServer on 127.0.0.1: the least a Qt program can do per request, the
// baseline of the decoder page's cost. Prints "port N" once listening; runs until killed.
#include <QCoreApplication>
#include <QHostAddress>
#include <QHttpServer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QHttpServer server;
    server.route("/", [] { return "Hello world"; });
    const quint16 port = server.listen(QHostAddress::LocalHost, 0);
    if (port == 0)
        return 1;
    std::printf("port %u\n", unsigned(port));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
