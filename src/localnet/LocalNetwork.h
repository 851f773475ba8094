// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// What the encoder does over this computer's own network: the decoder page it serves to the user's
// browser, and the channel through which a later copy asks the running one to come forward. It
// lives in a module of its own (glomiecode-localnet), loaded on first use: Qt's network library and
// the libraries behind it are a noticeable part of a start, and most sessions never hand a code
// off. The module and the program are always shipped together.
class LocalNetwork {
  public:
    // A changed interface gets a new number, and so a new entry name: a stray module of another
    // build is then refused rather than called wrongly.
    static constexpr const char* kEntry = "GlomieLocalNetwork1";
    using Entry = LocalNetwork* (*)();

    virtual ~LocalNetwork() = default;

    // Serves the decoder page on 127.0.0.1 at a free port, for this user's browser alone: under a
    // secret path, to a few connections at most. The service is a child of parent; its site,
    // "127.0.0.1:PORT/SECRET", is put in site. Null when no port can be had.
    virtual QObject* serveDecoderPage(QObject* parent, QString& site) = 0;

    // Listens under a local server name that only this user's programs can reach; reached runs
    // each time one connects. A name left by a copy that is gone is taken over. The caller owns the
    // listener; null when it cannot listen.
    virtual std::unique_ptr<QObject> listen(const QString& name, std::function<void()> reached) = 0;
    // Connects to the local server name and leaves at once; false when nothing answers in time.
    virtual bool reach(const QString& name, int timeoutMs) = 0;
};
