#include "pages/DecoderHandOff.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLineEdit>
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

QString Translate(const char* text) {
    return QCoreApplication::translate("DecoderHandOff", text);
}

// Tells the user the decoder page could not be shown, and why. With an address, it is shown in a
// box of its own, selected, so that it can be copied into a browser by hand.
void ShowDecoderUnavailable(QWidget& page, const QString& why, const QUrl& address) {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), why, QMessageBox::Ok,
                    &page);
    box.setObjectName(QStringLiteral("DecoderUnavailable"));
    if (!address.isEmpty()) {
        box.setInformativeText(Translate("Open this address in a web browser to see the decoder page:"));
        auto* line = new QLineEdit(QString::fromUtf8(address.toEncoded()), &box);
        line->setObjectName(QStringLiteral("DecoderAddress"));
        line->setAccessibleName(Translate("Decoder address"));
        line->setReadOnly(true);
        line->setSelection(line->text().size(), -line->text().size()); // all of it, from its start
        // Under the texts, beside the icon, above the button.
        auto* grid = qobject_cast<QGridLayout*>(box.layout());
        auto* buttons = box.findChild<QDialogButtonBox*>();
        if (grid && buttons && grid->indexOf(buttons) >= 0) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(grid->indexOf(buttons), &row, &column, &rows, &columns);
            grid->removeWidget(buttons);
            grid->addWidget(line, row, 1, 1, grid->columnCount() - 1);
            grid->addWidget(buttons, row + 1, column, rows, columns);
        }
        line->setFocus();
    }
    box.exec();
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
        ShowDecoderUnavailable(page, Translate("The decoder page could not be started on this computer."),
                               {});
        return;
    }
    const QUrl url = BrowserUrl(BuildDecoderUrl(host, code));
    const BrowserOpener& opener = State().Opener;
    if (!(opener ? opener(url) : QDesktopServices::openUrl(url)))
        ShowDecoderUnavailable(page, Translate("No web browser could be opened to show the decoder page."),
                               url);
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
