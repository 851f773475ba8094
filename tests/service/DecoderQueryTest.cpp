#include <QUrl>
#include <gtest/gtest.h>

#include "service/DecoderQuery.h"
#include "service/DecoderService.h"

namespace {

struct AddressCase {
    const char* name;
    std::string code;
    std::string query; // the value of the name parameter, as the encoder writes it
};

void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << c.code;
}

class DecoderAddressOf : public testing::TestWithParam<AddressCase> {};

// The codes of the worked examples, and what their decoder address carries.
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, DecoderAddressOf,
    testing::Values(
        AddressCase{"Header", "GlomieCode(1.12.05) SM:5", "GlomieCode(1.12.05)%20SM:5"},
        AddressCase{"Defaults", "GlomieCode(1.12.05) SM:5m-", "GlomieCode(1.12.05)%20SM:5m-"},
        AddressCase{"Secondary", "GlomieCode(1.12.05) SM:5-[7+]m+", "GlomieCode(1.12.05)%20SM:5-[7%2B]m%2B"},
        AddressCase{"Maximum", "GlomieCode(1.12.05) SM:![0]m-", "GlomieCode(1.12.05)%20SM:![0]m-"},
        AddressCase{"NinePlus", "GlomieCode(1.12.05) SM:9+m+", "GlomieCode(1.12.05)%20SM:9%2Bm%2B"},
        AddressCase{"HandOffExample", "GlomieCode(1.12.05) SM:5 F:sMo++",
                    "GlomieCode(1.12.05)%20SM:5%20F:sMo%2B%2B"},
        AddressCase{"Joined", "GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**",
                    "GlomieCode(1.12.05)%20SM:5%20F:sMo%2B%2B%20D:vBe-%20X:**"},
        AddressCase{
            "FavouritesAndDislikes", "GlomieCode(1.12.05) SM:5 F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---",
            "GlomieCode(1.12.05)%20SM:5%20F:sMo>%2B%2B%2BMe%2B[%2B%2B]:aLu%2B%2B:pS<%2B[%2B]%20D:vBe>---"},
        AddressCase{
            "Experience", "GlomieCode(1.12.05) SM:5m- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]",
            "GlomieCode(1.12.05)%20SM:5m-%20X:***[*]:aClr%2B%2B|ClS[SS]s%2B%2B%2B%2B:m18s%2B%2B[%2B]"},
        AddressCase{"Opinions", "GlomieCode(1.12.05) SM:5m- O:d--:!s++:?o:a?:h-[-]:x+",
                    "GlomieCode(1.12.05)%20SM:5m-%20O:d--:!s%2B%2B:?o:a?:h-[-]:x%2B"},
        AddressCase{"Personal", "GlomieCode(1.12.05) SM:5m- P:a23:eBg:hBr+:x:r+|+",
                    "GlomieCode(1.12.05)%20SM:5m-%20P:a23:eBg:hBr%2B:x:r%2B|%2B"},
        AddressCase{"Purity", "GlomieCode(1.12.05) SM:5m- P:x75%:r|",
                    "GlomieCode(1.12.05)%20SM:5m-%20P:x75%:r|"},
        AddressCase{"NoBlankNorPlus", "SM:5m-[!]:x75%", "SM:5m-[!]:x75%"}, AddressCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<AddressCase>& info) { return std::string(info.param.name); });

TEST_P(DecoderAddressOf, EscapesOnlyBlanksAndPluses) {
    EXPECT_EQ(DecoderAddress("decoder.test", GetParam().code),
              "http://decoder.test/cgi-usr/qpx/gcp.pl?name=" + GetParam().query);
}

TEST_P(DecoderAddressOf, ReadsBackAsTheCode) {
    EXPECT_EQ(QueryParameter("name=" + GetParam().query, "name"), GetParam().code);
}

// What the browser is given keeps every escape of the address, and reads back as the code.
TEST_P(DecoderAddressOf, SurvivesTheBrowserUrl) {
    const std::string address = DecoderAddress("127.0.0.1:8080", GetParam().code);
    const QUrl url = BrowserUrl(QString::fromStdString(address));
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_EQ(url.host(), "127.0.0.1");
    EXPECT_EQ(url.port(), 8080);
    EXPECT_EQ(url.path(), "/cgi-usr/qpx/gcp.pl");
    EXPECT_EQ(QueryParameter(url.query(QUrl::FullyEncoded).toStdString(), "name"), GetParam().code);
}

TEST(DecoderSite, TakesAHostWithOrWithoutItsSchemeAndEndSlash) {
    const std::pair<const char*, const char*> cases[] = {
        {"decoder.example.org", "http://decoder.example.org"},
        {"127.0.0.1:8080", "http://127.0.0.1:8080"},
        {"decoder.example.org/", "http://decoder.example.org"},
        {"https://decoder.example.org", "https://decoder.example.org"},
        {"https://decoder.example.org//", "https://decoder.example.org"},
        {"http://h:1/mirror/", "http://h:1/mirror"},
    };
    for (const auto& [host, site] : cases) {
        EXPECT_EQ(DecoderSite(host), site) << host;
        EXPECT_EQ(DecoderAddress(host, "SM:5 m+"), std::string(site) + "/cgi-usr/qpx/gcp.pl?name=SM:5%20m%2B")
            << host;
    }
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

struct ComponentCase {
    std::string sent;
    std::string decoded;
};

void PrintTo(const ComponentCase& c, std::ostream* os) {
    *os << '"' << c.sent << '"';
}

class QueryComponent : public testing::TestWithParam<ComponentCase> {};

INSTANTIATE_TEST_SUITE_P(
    AsBrowsersSendIt, QueryComponent,
    testing::Values(ComponentCase{"%20", " "}, ComponentCase{"%2B", "+"}, ComponentCase{"%2b", "+"},
                    ComponentCase{"+", " "}, ComponentCase{"a+b+", "a b "}, ComponentCase{"%", "%"},
                    ComponentCase{"x75%", "x75%"}, ComponentCase{"%4", "%4"}, ComponentCase{"%zz", "%zz"},
                    ComponentCase{"%4g", "%4g"}, ComponentCase{"%%20", "% "}, ComponentCase{"%25", "%"},
                    ComponentCase{"%2520", "%20"}, ComponentCase{"%e2%82%AC", "\xE2\x82\xAC"},
                    ComponentCase{"%FF%00", std::string("\xFF\0", 2)}, ComponentCase{"[x]|<>", "[x]|<>"},
                    ComponentCase{"", ""}));

TEST_P(QueryComponent, Decodes) {
    EXPECT_EQ(DecodeQueryComponent(GetParam().sent), GetParam().decoded);
}

TEST(QueryParameter, FindsTheFirstParameterOfThatName) {
    EXPECT_EQ(QueryParameter("name=a", "name"), "a");
    EXPECT_EQ(QueryParameter("x=1&name=a%20b&name=c", "name"), "a b");
    EXPECT_EQ(QueryParameter("na%6De=a", "name"), "a");
    EXPECT_EQ(QueryParameter("name=", "name"), "");
    EXPECT_EQ(QueryParameter("name", "name"), "");
    EXPECT_EQ(QueryParameter("&&name=a=b", "name"), "a=b");
    EXPECT_EQ(QueryParameter("name=a%26b", "name"), "a&b");
}

TEST(QueryParameter, IsMissingWhenTheQueryHasNone) {
    EXPECT_EQ(QueryParameter("", "name"), std::nullopt);
    EXPECT_EQ(QueryParameter("names=a&x=name", "name"), std::nullopt);
    EXPECT_EQ(QueryParameter("&", "name"), std::nullopt);
}

} // namespace
