// SPDX-License-Identifier: MIT
#include "app/DecoderHandOff.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "address/DecoderAddress.h"
#include "app/LocalNetworkLoader.h"
#include "pages/MessageBoxes.h"
#include "platform/DesktopOpen.h"
#include "platform/PrivateFolder.h"
#include "text/EscapeControls.h"
#include "text/HexDigit.h"
#include "text/HtmlEscape.h"

namespace {

QString Translate(const char* text) {
    return QCoreApplication::translate("DecoderHandOff", text);
}

// Tells the user the decoder page could not be shown, and why. With an address, it is shown whole in
// a read-only field wide enough to read it, selected, with a button that copies it, so that it can
// be opened in a browser by hand.
void ShowDecoderUnavailable(QWidget& page, const QString& why, const QUrl& address, bool servedHere) {
    QMessageBox box(QMessageBox::Warning, ProgramTitle(), why, QMessageBox::Ok, &page);
    box.setObjectName(QStringLiteral("DecoderUnavailable"));
    PrepareDialog(box);
    if (!address.isEmpty()) {
        box.setInformativeText(
            servedHere ? Translate("Open this address in a web browser to see the decoder "
                                   "page. It works while the encoder runs.")
                       : Translate("Open this address in a web browser to see the decoder page."));
        auto* line = new QLineEdit(QString::fromUtf8(address.toEncoded()), &box);
        line->setObjectName(QStringLiteral("DecoderAddress"));
        line->setAccessibleName(Translate("Decoder address"));
        line->setReadOnly(true);
        line->setSelection(line->text().size(), -line->text().size()); // all of it, from its start
        // Not one of the box's own buttons, which would close it. It says "Copied" for a moment
        // after each copy, as "Copy Code" does, and keeps its width meanwhile.
        auto* copy = new QPushButton(Translate("&Copy Address"), &box);
        copy->setObjectName(QStringLiteral("CopyAddress"));
        copy->setAutoDefault(false);
        copy->setMinimumWidth(copy->sizeHint().width());
        copy->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        auto* copiedTimer = new QTimer(&box);
        copiedTimer->setSingleShot(true);
        copiedTimer->setInterval(2000);
        QObject::connect(copiedTimer, &QTimer::timeout, copy,
                         [copy] { copy->setText(Translate("&Copy Address")); });
        QObject::connect(copy, &QPushButton::clicked, line, [line, copy, copiedTimer] {
            QGuiApplication::clipboard()->setText(line->text());
            line->selectAll();
            copy->setText(Translate("Copied"));
            copiedTimer->start();
        });
        // The field across the box, the button under its end: both whole at any width.
        auto* row = new QVBoxLayout;
        row->addWidget(line);
        row->addWidget(copy, 0, Qt::AlignRight);
        // Under the texts, beside the icon, above the button.
        auto* grid = qobject_cast<QGridLayout*>(box.layout());
        auto* buttons = box.findChild<QDialogButtonBox*>();
        if (grid && buttons && grid->indexOf(buttons) >= 0) {
            int at = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(grid->indexOf(buttons), &at, &column, &rows, &columns);
            grid->removeWidget(buttons);
            grid->addLayout(row, at, 1, 1, grid->columnCount() - 1);
            grid->addWidget(buttons, at + 1, column, rows, columns);
        }
        // As wide as the address where the box can be that wide: a message box is never wider than
        // the screen allows (up to 1000 pixels less 480 beside it, or the whole of a small screen),
        // and a field wider than that would run past its edge.
        const int screenWidth = page.screen() ? page.screen()->availableGeometry().width() : 1024;
        const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
        int beside = 0;
        if (grid) {
            const QMargins margins = grid->contentsMargins();
            beside += margins.left() + margins.right() + 2 * std::max(grid->horizontalSpacing(), 6);
        }
        if (const auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
            beside += icon->sizeHint().width();
        const int wanted = line->fontMetrics().horizontalAdvance(line->text()) + 24;
        line->setMinimumWidth(std::max(std::min({wanted, screenWidth * 3 / 4, boxLimit - beside - 40}),
                                       12 * line->fontMetrics().averageCharWidth()));
        line->setFocus();
    }
    box.exec();
}

} // namespace

QString BuildDecoderUrl(const QString& host, const QString& code) {
    return QString::fromStdString(DecoderAddress(host.toStdString(), code.toStdString()));
}

QUrl BrowserUrl(const QString& address) {
    // Escaping the bare "%" first keeps QUrl's lenient parsing from escaping every other "%" again.
    QByteArray bytes;
    const QByteArray utf8 = address.toUtf8();
    bytes.reserve(utf8.size() + 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const bool escape =
            i + 2 < utf8.size() && HexDigitValue(utf8[i + 1]) >= 0 && HexDigitValue(utf8[i + 2]) >= 0;
        bytes += utf8[i] == '%' && !escape ? QByteArrayLiteral("%25") : QByteArray(1, utf8[i]);
    }
    return QUrl::fromEncoded(bytes, QUrl::TolerantMode);
}

QString WhyNotADecoderHost(const QString& host) {
    for (const QChar c : host) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format || c.isSpace())
            return Translate("it holds a blank, a line break or a control character");
    }
    const QUrl site(host.contains(QLatin1String("://")) ? host : QStringLiteral("http://") + host,
                    QUrl::StrictMode);
    if (site.scheme() != QLatin1String("http") && site.scheme() != QLatin1String("https"))
        return Translate("its scheme is not http or https");
    if (!site.isValid() || site.host().isEmpty() || !site.userInfo().isEmpty() || site.hasQuery() ||
        site.hasFragment())
        return Translate("it is not a host name, with a port and a path if need be");
    return {};
}

DecoderHandOff::DecoderHandOff(QObject* parent) : QObject(parent), m_opener(&OpenWithDesktop) {}

DecoderHandOff::~DecoderHandOff() {
    delete m_service.data();
    for (const QString& page : std::as_const(m_forwardingPages))
        QFile::remove(page);
}

QUrl DecoderHandOff::forwardingPage(const QUrl& address) {
    if (!OtherUsersSeeCommandLines())
        return address;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !IsPrivateFolder(folder))
        return address;
    quint32 random[2];
    QRandomGenerator::system()->fillRange(random);
    QFile page(QDir(folder).filePath(QStringLiteral("glomiecode-decode-%1%2.html")
                                         .arg(random[0], 8, 16, QLatin1Char('0'))
                                         .arg(random[1], 8, 16, QLatin1Char('0'))));
    // Readable by the user alone before the address is in it.
    if (!page.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return address;
    m_forwardingPages << page.fileName();
    const std::string target = HtmlEscape(address.toEncoded().toStdString());
    const std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                             "<meta http-equiv=\"refresh\" content=\"0;url=" +
                             target +
                             "\">\n<title>Glomie Code decoder</title>\n</head>\n<body>\n<p><a href=\"" +
                             target + "\">Open the decoder page</a></p>\n</body>\n</html>\n";
    if (!page.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        page.write(html.data(), qint64(html.size())) != qint64(html.size()) || !page.flush()) {
        page.close();
        page.remove();
        return address;
    }
    return QUrl::fromLocalFile(page.fileName());
}

// The configured decoder host, or the embedded service's, started on first use. Empty when the
// embedded service cannot start; the next press tries again.
QString DecoderHandOff::decoderHost() {
    const std::string configured = ConfiguredDecoderHost();
    if (!configured.empty())
        return QString::fromStdString(configured);
    if (!m_service) {
        LocalNetwork* network = TheLocalNetwork();
        if (!network)
            return {};
        m_service = network->serveDecoderPage(this, m_site);
    }
    return embeddedHost();
}

void DecoderHandOff::handOff(QWidget& page, const QString& code) {
    const QString configured = QString::fromStdString(ConfiguredDecoderHost());
    if (const QString why = WhyNotADecoderHost(configured); !configured.isEmpty() && !why.isEmpty()) {
        ShowDecoderUnavailable(
            page,
            Translate("The decoder host set in GLOMIECODE_DECODER_HOST is not valid: "
                      "\"%1\": %2.")
                .arg(QString::fromStdString(EscapeControls(configured.toStdString())), why),
            {}, false);
        return;
    }
    const QString host = decoderHost();
    if (host.isEmpty()) {
        ShowDecoderUnavailable(page, Translate("The decoder page could not be started on this computer."), {},
                               false);
        return;
    }
    const QUrl url = BrowserUrl(BuildDecoderUrl(host, code));
    const bool servedHere = m_service && host == embeddedHost();
    QPointer<QWidget> shown(&page);
    m_opener(servedHere ? forwardingPage(url) : url, &page, [shown, url, servedHere](bool opened) {
        if (!opened && shown)
            ShowDecoderUnavailable(*shown,
                                   Translate("No web browser could be opened to show the decoder page."), url,
                                   servedHere);
    });
}

QString DecoderHandOff::embeddedHost() const {
    return m_service ? m_site : QString();
}
