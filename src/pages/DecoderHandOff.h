#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// Handing the code to the decoder page in the desktop browser. The decoder host is the environment
// variable GLOMIECODE_DECODER_HOST; without it the encoder serves the page itself on 127.0.0.1,
// from the first "&Decode" until the first page is destroyed (process-wide state).

// The decoder address of a code on a host: blanks as "%20", "+" as "%2B", all else unchanged.
QString BuildDecoderUrl(const QString& host, const QString& code);
// Opens the decoder page for the code; tells the user when no browser can be reached.
void HandOffToDecoder(QWidget& page, const QString& code);
// Ends the hand-off: stops the decoder page served by the encoder, if it runs.
void ReleaseDecoderHandOff();

// The host and port of the decoder page served by the encoder; empty while it does not run.
QString EmbeddedDecoderHost();

// How the browser is opened: QDesktopServices::openUrl unless a test puts another opener in (one
// that can fail, which a URL handler cannot). An empty opener puts the desktop's back.
using BrowserOpener = std::function<bool(const QUrl&)>;
void SetBrowserOpener(BrowserOpener opener);
