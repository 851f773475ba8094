#include "pages/DecoderHandOff.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>

#include "service/DecoderQuery.h"
#include "service/DecoderService.h"

namespace {

// The hand-off state: the decoder page served inside the encoder, and how the browser is opened.
struct HandOffState {
    QPointer<DecoderService> Service; // owned; parented to the application so it never outlives it
    BrowserOpener Opener;
};

HandOffState& State() {
    static HandOffState state;
    return state;
}

void ShowBrowserUnavailable(QWidget& page) {
    QMessageBox::warning(&page, QGuiApplication::applicationDisplayName(),
                         QCoreApplication::translate(
                             "DecoderHandOff", "The required version of Internal Explorer is unavailable"),
                         QMessageBox::Ok);
}

// The configured decoder host, or the embedded service's, started on first use. Empty when the
// embedded service cannot start; the next press tries again.
QString DecoderHost() {
    const QString configured = qEnvironmentVariable("GLOMIECODE_DECODER_HOST").trimmed();
    if (!configured.isEmpty())
        return configured;
    HandOffState& state = State();
    if (!state.Service) {
        auto* service = new DecoderService(QCoreApplication::instance());
        if (!service->Listen(QHostAddress::LocalHost, 0)) {
            delete service;
            return {};
        }
        state.Service = service;
    }
    return state.Service->HostAndPort();
}

} // namespace

QString BuildDecoderUrl(const QString& host, const QString& code) {
    return QString::fromStdString(DecoderAddress(host.toStdString(), code.toStdString()));
}

void HandOffToDecoder(QWidget& page, const QString& code) {
    const QString host = DecoderHost();
    if (host.isEmpty()) {
        ShowBrowserUnavailable(page);
        return;
    }
    const QUrl url = BrowserUrl(BuildDecoderUrl(host, code));
    const BrowserOpener& opener = State().Opener;
    if (!(opener ? opener(url) : QDesktopServices::openUrl(url)))
        ShowBrowserUnavailable(page);
}

void ReleaseDecoderHandOff() {
    HandOffState& state = State();
    delete state.Service.data();
    state.Service = nullptr;
}

QString EmbeddedDecoderHost() {
    const HandOffState& state = State();
    return state.Service ? state.Service->HostAndPort() : QString();
}

void SetBrowserOpener(BrowserOpener opener) {
    State().Opener = std::move(opener);
}
