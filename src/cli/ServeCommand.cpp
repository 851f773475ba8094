// SPDX-License-Identifier: MIT
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include "Commands.h"
#include "RequestLog.h"
#include "platform/BrokenPipe.h"
#include "platform/StopSignals.h"
#include "service/DecoderService.h"

// Where an installed site sits relative to the program; the build sets it from the install layout.
#ifndef GLOMIE_INSTALLED_WEB_DIR
#define GLOMIE_INSTALLED_WEB_DIR "../share/glomiecode/web"
#endif

namespace {

const char kServeUsage[] =
    "usage: glomiecode-cli serve [--port N] [--bind ADDRESS] [--web DIR] [--per-client N]\n";

} // namespace

int RunServe(CommandContext& context) {
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Listen on port N."),
                                  QStringLiteral("N"), QStringLiteral("8080"));
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Listen on ADDRESS."),
                                  QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption perClient(QStringLiteral("per-client"),
                                       QStringLiteral("Hold at most N connections from one address."),
                                       QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption web(QStringLiteral("web"),
                                 QStringLiteral("Serve the encoder in the browser from DIR at /encoder/."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOptions({port, bind, perClient, web, help});
    if (!parser.parse(QStringList{QStringLiteral("serve")} + context.arguments) ||
        !parser.positionalArguments().isEmpty()) {
        context.err << "glomiecode-cli: "
                    << (parser.errorText().isEmpty() ? QStringLiteral("unexpected argument")
                                                     : ForTerminal(parser.errorText()))
                    << '\n'
                    << kServeUsage;
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        context.out
            << kServeUsage
            << "\nServes the decoder page over HTTP until interrupted: / answers a form to paste a\n"
               "code into, /cgi-usr/qpx/gcp.pl?name=CODE the code read back as sentences. Logs one\n"
               "line per request to the error output.\n\n"
               "  --port N          listen on port N (default 8080; 0 picks a free port)\n"
               "  --bind ADDRESS    listen on ADDRESS (default 127.0.0.1, this machine only)\n"
               "  --per-client N    hold at most N connections from one address at once and\n"
               "                    close a further one at once (default 0: no such cap;\n"
               "                    behind a reverse proxy every client has the proxy's address)\n"
               "  --web DIR         serve the encoder in the browser (scripts/build-web.sh builds it)\n"
               "                    from DIR at /encoder/; without it, the installed one, if any\n"
               "  -h, --help        show this help\n";
        return ExitOk;
    }
    if (const auto refused = RefuseEmptyFileName(parser, web, context, kServeUsage))
        return *refused;
    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    if (!portOk || portNumber > 65535) {
        context.err << "glomiecode-cli: not a port number: '" << ForTerminal(parser.value(port)) << "'\n"
                    << kServeUsage;
        return ExitUsage;
    }
    bool perClientOk = false;
    const int perClientCap = parser.value(perClient).toInt(&perClientOk);
    if (!perClientOk || perClientCap < 0) {
        context.err << "glomiecode-cli: not a number of connections: '"
                    << ForTerminal(parser.value(perClient)) << "'\n"
                    << kServeUsage;
        return ExitUsage;
    }
    QHostAddress address;
    if (!address.setAddress(parser.value(bind))) {
        context.err << "glomiecode-cli: not an IP address: '" << ForTerminal(parser.value(bind)) << "'\n"
                    << kServeUsage;
        return ExitUsage;
    }

    // The encoder in the browser: the folder given, or the one installed beside the program.
    const QString installedWeb =
        QCoreApplication::applicationDirPath() + QStringLiteral("/" GLOMIE_INSTALLED_WEB_DIR);
    const QString webFolder = parser.isSet(web) ? parser.value(web) : installedWeb;
    std::optional<EncoderSite> site = LoadEncoderSite(webFolder);
    if (!site && parser.isSet(web)) {
        context.err << "glomiecode-cli: no encoder site (an index.html) in '" << ForTerminal(webFolder)
                    << "'\n";
        return ExitUsage;
    }

    // A closed output (`serve 2>&1 | head -1`) must not end the service: writes to it just fail.
    IgnoreBrokenPipe();
    RequestLog log;
    DecoderService service;
    service.setRequestLog([&log](const QString& line) { log.write(line); });
    service.setPerClientCap(perClientCap);
    if (site)
        service.setEncoderSite(std::move(*site));
    if (!service.listen(address, static_cast<quint16>(portNumber))) {
        context.err << "glomiecode-cli: cannot listen on " << parser.value(bind) << " port " << portNumber
                    << '\n';
        return ExitFailure;
    }
    const StopSignals stop;
    if (!stop.catching()) {
        context.err << "glomiecode-cli: cannot catch the stop signals\n";
        return ExitFailure;
    }

    context.out << "glomiecode-cli: the decoder page is at http://" << service.hostAndPort() << "/\n";
    if (service.servesEncoderSite())
        context.out << "glomiecode-cli: the encoder is at http://" << service.hostAndPort() << "/encoder/\n";
    context.out.flush();
    QCoreApplication::exec();
    log.write(QStringLiteral("glomiecode-cli: stopped"));
    return ExitOk;
}
