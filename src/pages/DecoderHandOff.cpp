#include "pages/DecoderHandOff.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace {
QString DecoderHost() {
    const QByteArray configured = qgetenv("GLOMIECODE_DECODER_HOST");
    return configured.isEmpty() ? QStringLiteral("127.0.0.1") : QString::fromUtf8(configured);
}
} // namespace

QString BuildDecoderUrl(const QString& code) {
    QString escaped;
    escaped.reserve(code.size() * 3);
    for (const QChar c : code) {
        if (c == QLatin1Char(' '))
            escaped += QStringLiteral("%20");
        else if (c == QLatin1Char('+'))
            escaped += QStringLiteral("%2B");
        else
            escaped += c;
    }
    return QStringLiteral("http://%1/cgi-usr/qpx/gcp.pl?name=%2").arg(DecoderHost(), escaped);
}

void HandOffToDecoder(QWidget& page, const QString& code) {
    const QUrl url(BuildDecoderUrl(code), QUrl::TolerantMode);
    if (!QDesktopServices::openUrl(url))
        QMessageBox::information(&page, QString(),
                                 QObject::tr("The required version of Internal Explorer is unavailable"));
}

void ReleaseDecoderHandOff() {}
