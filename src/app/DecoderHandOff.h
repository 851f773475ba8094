// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

#include "app/DesktopOpener.h"

class QWidget;

// Handing a code to the decoder page in the desktop browser. The decoder host is the one configured
// in GLOMIECODE_DECODER_HOST; without one, the encoder serves the page itself on 127.0.0.1 from the
// first hand-off until this object ends. The address of that page holds a secret, which no command
// line shows: the browser is given a small page in the user's private runtime folder, readable by
// the user alone, that forwards to the address (removed when this object ends).
class DecoderHandOff : public QObject {
    Q_OBJECT
  public:
    explicit DecoderHandOff(QObject* parent = nullptr);
    ~DecoderHandOff() override;

    // Opens the decoder page for the code; tells the user when no browser can be reached.
    void handOff(QWidget& page, const QString& code);

    // Where the decoder page served by the encoder is, "127.0.0.1:PORT/SECRET" (a site for
    // DecoderAddress); empty while it does not run.
    QString embeddedHost() const;

    // How the browser is opened: the desktop's opener, unless a test puts another in.
    void setOpener(DesktopOpener opener) { m_opener = std::move(opener); }

  private:
    QString decoderHost();
    // What the browser is given for an address of the embedded page: the forwarding page's file,
    // or the address itself where no private folder can hold one.
    QUrl forwardingPage(const QUrl& address);

    QPointer<QObject> m_service; // a child, started on first use
    QString m_site;              // its site, "127.0.0.1:PORT/SECRET"
    DesktopOpener m_opener;
    QStringList m_forwardingPages;
};

// Why a configured decoder host cannot be used (a line break, a scheme other than http or https,
// no valid host name); empty when it can.
QString WhyNotADecoderHost(const QString& host);

// The decoder address of a code on a host: blanks as "%20", "+" as "%2B", all else unchanged.
QString BuildDecoderUrl(const QString& host, const QString& code);

// A decoder address as a URL a browser can be given, its own escapes ("%20", "%2B") kept as they are.
// A URL cannot carry a bare "%", nor "|", "<" or ">": those go out escaped ("%25", "%7C", ...),
// which the decoder page reads back as the same characters.
QUrl BrowserUrl(const QString& address);
