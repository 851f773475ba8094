// SPDX-License-Identifier: MIT
#include <QClipboard>
#include <QDesktopServices>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QScreen>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "DecoderAddressExamples.h"
#include "GuiTestSupport.h"
#include "address/DecoderAddress.h"
#include "app/DecoderHandOff.h"
#include "service/DecoderPage.h"

// Takes the URLs the desktop would open in the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> Urls;
    Q_INVOKABLE void open(const QUrl& url) { Urls << url; }
};

namespace {

const QString kPurityCode = QStringLiteral("GlomieCode(1.12.05) SM:5m- P:x75%");

class DecodeHandOff : public SheetTest {
  protected:
    void SetUp() override {
        SheetTest::SetUp();
        m_savedHost = qgetenv("GLOMIECODE_DECODER_HOST");
        qunsetenv("GLOMIECODE_DECODER_HOST");
        // A private runtime folder, for the page that forwards the browser to the address.
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        ASSERT_TRUE(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_catcher, "open");
    }
    void TearDown() override {
        m_sheet.reset();
        m_handOff.reset(); // its end stops the decoder page it serves
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        if (!m_savedHost.isEmpty())
            qputenv("GLOMIECODE_DECODER_HOST", m_savedHost);
        if (m_savedRuntime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    }

    // The sheet with the hand-off as the program gives it one.
    EncoderSheet& openHandingOffSheet(const std::map<QString, int>& stored) {
        EncoderSheet& sheet = openSheet(stored);
        if (!m_handOff) {
            m_handOff = std::make_unique<DecoderHandOff>();
            // The desktop as Qt's URL handlers see it, so the catcher takes what would be opened.
            m_handOff->setOpener([](const QUrl& url, QObject*, std::function<void(bool)> done) {
                done(QDesktopServices::openUrl(url));
            });
        }
        sheet.setDecodeHandler(
            [this](QWidget& page, const QString& code) { m_handOff->handOff(page, code); });
        return sheet;
    }

    // A sheet whose code holds blanks, a "+" run and a purity score's bare "%".
    EncoderSheet& openPuritySheet() {
        EncoderSheet& sheet =
            openHandingOffSheet({{"Per/OmitGender", 0}, {"Per/UsePurity", 1}, {"Per/Purity", 75}});
        EXPECT_EQ(codeBoxText(sheet.page(0)), kPurityCode);
        return sheet;
    }

    void pressDecode(int tab) {
        showTab(tab);
        QTest::mouseClick(&find<QPushButton>(sheet().page(tab), "Decode"), Qt::LeftButton);
    }

    // What the embedded decoder page answers at a URL.
    QByteArray fetch(const QUrl& url, int status = 200) {
        QNetworkAccessManager manager;
        manager.setProxy(QNetworkProxy::NoProxy);
        QNetworkReply* reply = manager.get(QNetworkRequest(url));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(reply->isFinished());
        EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status)
            << url.toString().toStdString();
        const QByteArray body = reply->readAll();
        delete reply;
        return body;
    }

    static QByteArray codeOnPage(const QString& code) {
        return QByteArray::fromStdString("<p class=\"code\">" + HtmlEscape(code.toStdString()) + "</p>");
    }

    QString embeddedDecoderHost() const { return m_handOff ? m_handOff->embeddedHost() : QString(); }

    // The address a browser given url goes to: url itself, or the one the forwarding page in the
    // user's private folder sends it to (that page readable by the user alone).
    static QUrl forwarded(const QUrl& url) {
        if (!url.isLocalFile())
            return url;
        QFile page(url.toLocalFile());
        EXPECT_EQ(page.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!page.open(QIODevice::ReadOnly))
            return {};
        const QString html = QString::fromUtf8(page.readAll());
        const QRegularExpressionMatch target =
            QRegularExpression(QStringLiteral("content=\"0;url=([^\"]*)\"")).match(html);
        EXPECT_TRUE(target.hasMatch()) << html.toStdString();
        return QUrl::fromEncoded(
            target.captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&")).toUtf8());
    }

    UrlCatcher m_catcher;
    QByteArray m_savedHost, m_savedRuntime;
    QTemporaryDir m_runtime;
    std::unique_ptr<DecoderHandOff> m_handOff;
};

TEST_F(DecodeHandOff, TwoPagesOpenTwoAddressesOfTheEmbeddedDecoderPage) {
    openPuritySheet();
    EXPECT_TRUE(embeddedDecoderHost().isEmpty());
    pressDecode(0);
    const QString host = embeddedDecoderHost();
    ASSERT_FALSE(host.isEmpty()) << "the first Decode starts the decoder page";
    EXPECT_TRUE(host.startsWith(QStringLiteral("127.0.0.1:")));

    showTab(1);
    ChooseItem(find<QComboBox>(sheet().page(1), "Senshi0"), 1);
    const QString secondCode = codeBoxText(sheet().page(1));
    EXPECT_EQ(secondCode, QStringLiteral("GlomieCode(1.12.05) SM:5m- F:sMo P:x75%"));
    pressDecode(1);
    EXPECT_EQ(embeddedDecoderHost(), host) << "later presses reuse the running decoder page";

    ASSERT_EQ(m_catcher.Urls.size(), 2);
    // The secret is in no command line: the browser is given a page that forwards to the address.
    for (const QUrl& url : std::as_const(m_catcher.Urls)) {
        EXPECT_TRUE(url.isLocalFile()) << url.toString().toStdString();
        EXPECT_FALSE(url.toString().contains(host.section(u'/', 1)));
    }
    m_catcher.Urls = {forwarded(m_catcher.Urls[0]), forwarded(m_catcher.Urls[1])};
    // The address as written, but for the bare "%", which a URL can only carry as "%25".
    EXPECT_EQ(m_catcher.Urls[0].toEncoded(),
              "http://" + host.toUtf8() + "/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5m-%20P:x75%25");
    EXPECT_EQ(m_catcher.Urls[1].toEncoded(),
              "http://" + host.toUtf8() +
                  "/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5m-%20F:sMo%20P:x75%25");
    EXPECT_TRUE(fetch(m_catcher.Urls[0]).contains(codeOnPage(kPurityCode)));
    EXPECT_TRUE(fetch(m_catcher.Urls[1]).contains(codeOnPage(secondCode)));

    // The page is this run's alone: it answers under its secret path only, which changes every run.
    const QString port = host.section(u':', 1).section(u'/', 0, 0);
    const QString secret = host.section(u'/', 1);
    EXPECT_GE(secret.size(), 22) << "128 bits at least";
    QUrl elsewhere = m_catcher.Urls[0];
    elsewhere.setPath(QStringLiteral("/cgi-usr/qpx/gcp.pl"));
    fetch(elsewhere, 404);
    fetch(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)), 404);
    DecoderHandOff another;
    another.setOpener([](const QUrl&, QObject*, std::function<void(bool)> done) { done(true); });
    another.handOff(sheet().page(0), kPurityCode);
    EXPECT_NE(another.embeddedHost().section(u'/', 1), secret);
}

TEST_F(DecodeHandOff, PlusRunsReachTheDecoderPageAsPluses) {
    openHandingOffSheet({{"SM/Pri", 14}, {"SM/ChkSec", 1}, {"SM/Sec", 22}, {"SM/GlomiePref", 2}});
    const QString code = codeBoxText(sheet().page(0));
    ASSERT_EQ(code, QStringLiteral("GlomieCode(1.12.05) SM:5-[7+]m+"));
    pressDecode(0);
    ASSERT_EQ(m_catcher.Urls.size(), 1);
    const QUrl address = forwarded(m_catcher.Urls[0]);
    EXPECT_TRUE(address.toEncoded().endsWith("?name=GlomieCode(1.12.05)%20SM:5-[7%2B]m%2B"));
    EXPECT_TRUE(fetch(address).contains(codeOnPage(code)));
}

TEST_F(DecodeHandOff, TheEndOfTheHandOffStopsTheDecoderPage) {
    openPuritySheet();
    pressDecode(0);
    const QString host = embeddedDecoderHost();
    ASSERT_FALSE(host.isEmpty());
    ASSERT_EQ(m_catcher.Urls.size(), 1);
    const QString forwardingPage = m_catcher.Urls[0].toLocalFile();
    EXPECT_TRUE(QFile::exists(forwardingPage));
    m_sheet.reset();
    m_handOff.reset();
    EXPECT_TRUE(embeddedDecoderHost().isEmpty());
    EXPECT_FALSE(QFile::exists(forwardingPage)) << "the forwarding page goes with it";
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, host.section(u':', 1).section(u'/', 0, 0).toUShort());
    EXPECT_FALSE(socket.waitForConnected(2000)) << "nothing listens any more";

    openPuritySheet();
    pressDecode(0);
    EXPECT_FALSE(embeddedDecoderHost().isEmpty()) << "a new sheet starts it again";
}

TEST_F(DecodeHandOff, AConfiguredHostIsUsedAndNothingIsServed) {
    qputenv("GLOMIECODE_DECODER_HOST", "decoder.example.org");
    openPuritySheet();
    pressDecode(0);
    EXPECT_TRUE(embeddedDecoderHost().isEmpty());
    ASSERT_EQ(m_catcher.Urls.size(), 1);
    EXPECT_EQ(m_catcher.Urls[0].toEncoded(),
              "http://decoder.example.org/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5m-%20P:x75%25");
    qunsetenv("GLOMIECODE_DECODER_HOST");
}

// A configured host that is no host says so at Decode, and which, instead of handing the browser an
// empty or a strange address.
TEST_F(DecodeHandOff, AConfiguredHostThatIsNoHostIsToldAndNothingIsOpened) {
    openPuritySheet();
    QStringList texts;
    QTimer answerer;
    answerer.setInterval(10);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->accept();
        }
    });
    answerer.start();
    for (const char* host :
         {"decoder.example.org\nevil.example", "ftp://decoder.example.org", "javascript:alert(1)",
          "exa mple.org", "http://", "http://user@decoder.example.org", "decoder.example.org/?x=1",
          "decoder\x1b]0;x\x07.org"}) {
        qputenv("GLOMIECODE_DECODER_HOST", host);
        texts.clear();
        pressDecode(0);
        ASSERT_EQ(texts.size(), 1) << host;
        EXPECT_TRUE(texts[0].startsWith(
            QStringLiteral("The decoder host set in GLOMIECODE_DECODER_HOST is not valid")))
            << texts[0].toStdString();
        EXPECT_FALSE(texts[0].contains(QLatin1Char('\x1b'))) << "shown escaped";
    }
    qunsetenv("GLOMIECODE_DECODER_HOST");
    EXPECT_TRUE(m_catcher.Urls.isEmpty());
    EXPECT_TRUE(embeddedDecoderHost().isEmpty());
}

TEST_F(DecodeHandOff, NoBrowserShowsTheMessageAndTheNextPressTriesAgain) {
    openPuritySheet();
    int attempts = 0;
    bool browserWorks = false;
    QList<QUrl> opened;
    m_handOff->setOpener([&](const QUrl& url, QObject*, std::function<void(bool)> done) {
        ++attempts;
        if (browserWorks)
            opened << url;
        done(browserWorks);
    });
    QStringList texts, informatives, titles, addresses, copied;
    QList<QMessageBox::StandardButtons> buttons;
    QTimer answerer;
    answerer.setInterval(10);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text();
            informatives << box->informativeText();
            titles << box->windowTitle();
            buttons << box->standardButtons();
            if (auto* address = box->findChild<QLineEdit*>(QStringLiteral("DecoderAddress"))) {
                // As wide as the address, where three quarters of the screen are enough for it.
                const int wide = std::min(address->fontMetrics().horizontalAdvance(address->text()),
                                          address->screen()->availableGeometry().width() * 3 / 4);
                addresses << (address->isReadOnly() && address->selectedText() == address->text() &&
                                      address->width() >= wide
                                  ? address->text()
                                  : QStringLiteral("not selected, editable or cut short"));
                QGuiApplication::clipboard()->clear();
                if (auto* copy = box->findChild<QPushButton*>(QStringLiteral("CopyAddress")))
                    copy->click();
                copied << QGuiApplication::clipboard()->text();
            }
            box->accept();
        }
    });
    answerer.start();

    pressDecode(0);
    EXPECT_EQ(attempts, 1);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0], QStringLiteral("No web browser could be opened to show the decoder page."));
    ASSERT_EQ(addresses.size(), 1) << "the address is shown, to be copied by hand";
    EXPECT_TRUE(addresses[0].startsWith("http://127.0.0.1:")) << addresses[0].toStdString();
    EXPECT_TRUE(addresses[0].endsWith("/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5m-%20P:x75%25"))
        << addresses[0].toStdString();
    EXPECT_EQ(titles[0], QStringLiteral("Glomie Code Encoder"));
    EXPECT_EQ(copied, addresses) << "Copy Address puts the address on the clipboard and keeps the box";
    EXPECT_TRUE(informatives[0].contains(QStringLiteral("works while the encoder runs")));
    EXPECT_EQ(buttons[0], QMessageBox::StandardButtons(QMessageBox::Ok));

    pressDecode(3);
    EXPECT_EQ(attempts, 2) << "the next press tries again";
    EXPECT_EQ(texts.size(), 2);

    browserWorks = true;
    pressDecode(0);
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(texts.size(), 2) << "no message once the browser opens";
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(fetch(forwarded(opened[0])).contains(codeOnPage(kPurityCode)));
    EXPECT_TRUE(m_catcher.Urls.isEmpty()) << "the desktop was not asked while a test opener is in";
}

// What the browser is given keeps every escape of the address, and reads back as the code.
class BrowserUrlOf : public testing::TestWithParam<AddressCase> {};

INSTANTIATE_TEST_SUITE_P(WorkedExamples, BrowserUrlOf, testing::ValuesIn(kAddressExamples),
                         [](const testing::TestParamInfo<AddressCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_P(BrowserUrlOf, KeepsEveryEscapeAndReadsBackAsTheCode) {
    const std::string address = DecoderAddress("127.0.0.1:8080", GetParam().code);
    const QUrl url = BrowserUrl(QString::fromStdString(address));
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_EQ(url.host(), "127.0.0.1");
    EXPECT_EQ(url.port(), 8080);
    EXPECT_EQ(url.path(), "/cgi-usr/qpx/gcp.pl");
    EXPECT_EQ(QueryParameter(url.query(QUrl::FullyEncoded).toStdString(), "name"), GetParam().code);
}

TEST(BrowserUrl, KeepsTheAddressAsWrittenWhereAUrlCan) {
    EXPECT_EQ(
        BrowserUrl("http://h:1/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5-[7%2B]m%2B").toEncoded(),
        "http://h:1/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5-[7%2B]m%2B");
    // A bare "%" goes out as "%25" and leaves the other escapes alone.
    EXPECT_EQ(
        BrowserUrl("http://h:1/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5m-%20P:x75%").toEncoded(),
        "http://h:1/cgi-usr/qpx/gcp.pl?name=GlomieCode(1.12.05)%20SM:5m-%20P:x75%25");
    EXPECT_EQ(BrowserUrl("http://h:1/p?name=r%2B|%2B<>").toEncoded(), "http://h:1/p?name=r%2B%7C%2B%3C%3E");
}

} // namespace

#include "DecodeHandOffTest.moc"
