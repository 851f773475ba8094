// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "DecoderAddressExamples.h"
#include "address/DecoderAddress.h"

namespace {

class DecoderAddressOf : public testing::TestWithParam<AddressCase> {};

INSTANTIATE_TEST_SUITE_P(WorkedExamples, DecoderAddressOf, testing::ValuesIn(kAddressExamples),
                         [](const testing::TestParamInfo<AddressCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_P(DecoderAddressOf, EscapesOnlyBlanksAndPluses) {
    EXPECT_EQ(DecoderAddress("decoder.test", GetParam().code),
              "http://decoder.test/cgi-usr/qpx/gcp.pl?name=" + GetParam().query);
}

TEST_P(DecoderAddressOf, ReadsBackAsTheCode) {
    EXPECT_EQ(QueryParameter("name=" + GetParam().query, "name"), GetParam().code);
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
