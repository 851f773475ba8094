// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "address/DecoderAddress.h"
#include "service/DecoderPage.h"

namespace {

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// A code with every section, the purity score's bare "%" among them.
const std::string kFullCode = "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- "
                              "X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ "
                              "P:a23:eBg:hBr+:x75%:r+|-[-]";

TEST(HtmlEscape, EscapesMarkupAndMendsBrokenText) {
    EXPECT_EQ(HtmlEscape("<script>alert('x')</script>"), "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;");
    EXPECT_EQ(HtmlEscape("a&b\"c"), "a&amp;b&quot;c");
    EXPECT_EQ(HtmlEscape("SM:5-[7+]m+ :x75%"), "SM:5-[7+]m+ :x75%");
    EXPECT_EQ(HtmlEscape("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x99"),
              "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x99");
    EXPECT_EQ(HtmlEscape("a\xFF"
                         "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(HtmlEscape("\xC3"), "\xEF\xBF\xBD");                                 // cut short
    EXPECT_EQ(HtmlEscape("\xC0\xBC"), "\xEF\xBF\xBD\xEF\xBF\xBD");                 // an overlong "<"
    EXPECT_EQ(HtmlEscape("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // a surrogate
    EXPECT_EQ(HtmlEscape(std::string("a\0b\x1B", 4)), "a\xEF\xBF\xBD"
                                                      "b\xEF\xBF\xBD");
    EXPECT_EQ(HtmlEscape("a\r\nb\tc"), "a\r\nb\tc");
    // A direction control cannot turn the rest of the line around: "txt.live" never reads "evil.txt".
    EXPECT_EQ(HtmlEscape("\xE2\x80\xAE"
                         "evil.txt\xE2\x81\xA6\xE2\x81\xA9\xE2\x80\x8F\xD8\x9C\xE2\x80\xAA"),
              "\\u202Eevil.txt\\u2066\\u2069\\u200F\\u061C\\u202A");
    EXPECT_EQ(HtmlEscape("\xE2\x80\x8D\xE2\x80\xA9"), "\xE2\x80\x8D\xE2\x80\xA9"); // a joiner, a separator
}

TEST(DecoderPage, ShowsEverySentenceGroupedBySection) {
    const DecodeResult result = DecodeGlomieCode(kFullCode);
    ASSERT_TRUE(result.HeaderFound);
    ASSERT_FALSE(result.Sentences.empty());
    const std::string page = RenderDecoderPage(kFullCode, result);
    EXPECT_TRUE(Contains(page, "<p class=\"code\">" + HtmlEscape(kFullCode) + "</p>"));
    size_t searchFrom = 0;
    std::string title;
    for (const DecodedSentence& sentence : result.Sentences) {
        if (SectionTitle(sentence.Section) != title) {
            title = SectionTitle(sentence.Section);
            const size_t heading = page.find("<h2>" + HtmlEscape(title) + "</h2>", searchFrom);
            ASSERT_NE(heading, std::string::npos) << "no heading " << title << " after " << searchFrom;
            searchFrom = heading;
        }
        const size_t at = page.find(HtmlEscape(result.text(sentence)), searchFrom);
        ASSERT_NE(at, std::string::npos) << "sentence missing or out of order: " << result.text(sentence);
        searchFrom = at;
    }
    for (const char* section : {"Obsession", "Favourites", "Dislikes", "Experience", "Opinions", "Personal"})
        EXPECT_TRUE(Contains(page, std::string("<h2>") + section + "</h2>")) << section;
}

TEST(DecoderPage, IsAPageForPhonesAndDesktopsWithoutScript) {
    const std::string page = RenderDecoderPage(kFullCode, DecodeGlomieCode(kFullCode));
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_TRUE(Contains(page, "<meta charset=\"utf-8\">"));
    EXPECT_TRUE(Contains(page, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
    EXPECT_FALSE(Contains(page, "<script"));
    EXPECT_TRUE(Contains(page, "<form action=\"/cgi-usr/qpx/gcp.pl\" method=\"get\">"));
}

TEST(DecoderPage, ShowsWhatCouldNotBeRead) {
    const std::string text = "GlomieCode(1.12.05) SM:5m- O:<b>qq";
    const DecodeResult result = DecodeGlomieCode(text);
    ASSERT_TRUE(result.HeaderFound);
    ASSERT_FALSE(result.Problems.empty());
    const std::string page = RenderDecoderPage(text, result);
    EXPECT_TRUE(Contains(page, "Not understood"));
    for (const DecodeProblem& problem : result.Problems)
        EXPECT_TRUE(Contains(page, HtmlEscape(problem.Message))) << problem.Message;
    EXPECT_FALSE(Contains(page, "<b>"));
}

TEST(DecoderPage, SaysSoWhenTheTextHoldsNoCode) {
    const std::string page = RenderDecoderPage("<i>hello</i>", DecodeGlomieCode("<i>hello</i>"));
    EXPECT_TRUE(Contains(page, "There is no Glomie Code in this text."));
    // The text stays in the form, to be mended.
    EXPECT_TRUE(Contains(page, ">&lt;i&gt;hello&lt;/i&gt;</textarea>"));
    EXPECT_FALSE(Contains(page, "<i>"));
}

DecoderReply Get(std::string_view path, std::string_view query) {
    return AnswerRequest(RequestMethod::Get, path, query);
}

TEST(AnswerRequest, StartPageHasTheForm) {
    const DecoderReply reply = Get("/", "");
    EXPECT_EQ(reply.Status, 200);
    EXPECT_TRUE(Contains(reply.Body, "<form action=\"/cgi-usr/qpx/gcp.pl\" method=\"get\">"));
    EXPECT_TRUE(Contains(reply.Body, "name=\"name\""));
    EXPECT_EQ(AnswerRequest(RequestMethod::Head, "/", "").Body, reply.Body);
}

TEST(AnswerRequest, DecodesTheCodeOfTheQuery) {
    const std::string query = "name=" + EscapeForDecoder(kFullCode);
    const DecoderReply reply = Get(kDecoderPath, query);
    EXPECT_EQ(reply.Status, 200);
    EXPECT_EQ(reply.Body, RenderDecoderPage(kFullCode, DecodeGlomieCode(kFullCode)));
}

TEST(AnswerRequest, ShowsTheRequestOnlyAsText) {
    const DecoderReply reply = Get(
        kDecoderPath, "name=%3Cscript%3Ealert(1)%3C/script%3EGlomieCode(1.12.05)%20SM:5m-%22%3E%3Cimg%3E");
    EXPECT_EQ(reply.Status, 200);
    EXPECT_FALSE(Contains(reply.Body, "<script"));
    EXPECT_FALSE(Contains(reply.Body, "<img"));
    EXPECT_TRUE(Contains(reply.Body, "&lt;script&gt;") || Contains(reply.Body, "GlomieCode(1.12.05) SM:5m-"));
    const DecoderReply noCode = Get(kDecoderPath, "name=%3Cscript%3Ealert(1)%3C/script%3E");
    EXPECT_FALSE(Contains(noCode.Body, "<script"));
}

TEST(AnswerRequest, AsksForACodeWhenNoneIsGiven) {
    for (const char* query : {"", "name=", "name", "name=+%20", "other=GlomieCode(1.12.05)%20SM:5"}) {
        const DecoderReply reply = Get(kDecoderPath, query);
        EXPECT_EQ(reply.Status, 200) << query;
        EXPECT_TRUE(Contains(reply.Body, "No code was given.")) << query;
    }
}

TEST(AnswerRequest, SurvivesBrokenQueries) {
    const std::string queries[] = {"name=%",
                                   "name=%%%",
                                   "name=%FF%FE%00x",
                                   "name=\xFF\xFEx",
                                   "=&=&&",
                                   "name=%C3x",
                                   "name=GlomieCode(1.12.05)%20SM:5m-%FF%00",
                                   "name=%E2%82",
                                   "name=%1B%0D%0A"};
    for (const std::string& query : queries) {
        const DecoderReply reply = Get(kDecoderPath, query);
        EXPECT_EQ(reply.Status, 200) << query;
        // The page stays valid UTF-8 without control characters: what it echoes is mended.
        EXPECT_EQ(reply.Body.find_first_of(std::string("\xFF\xFE\0\x1B", 4)), std::string::npos) << query;
    }
    EXPECT_TRUE(Contains(Get(kDecoderPath, "name=%FF%FE%00x").Body, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx"));
}

TEST(AnswerRequest, RefusesWhatItDoesNotServe) {
    EXPECT_EQ(Get("/index.html", "").Status, 404);
    EXPECT_EQ(Get("/cgi-usr/qpx/gcp.pl/", "name=a").Status, 404);
    EXPECT_EQ(Get("/cgi-usr/qpx/GCP.pl", "name=a").Status, 404);
    EXPECT_EQ(AnswerRequest(RequestMethod::Other, kDecoderPath, "name=a").Status, 405);
    EXPECT_EQ(AnswerRequest(RequestMethod::Other, "/", "").Status, 405);
    EXPECT_EQ(AnswerRequest(RequestMethod::Head, kDecoderPath, "name=a").Status, 200);
}

TEST(AnswerRequest, RefusesQueriesLongerThanEightKilobytes) {
    const std::string atLimit = "name=" + std::string(kMaxQueryLength - 5, 'a');
    EXPECT_EQ(Get(kDecoderPath, atLimit).Status, 200);
    EXPECT_EQ(Get(kDecoderPath, atLimit + "a").Status, 414);
    EXPECT_EQ(Get("/elsewhere", atLimit + "a").Status, 414);
}

// With the encoder's site, /encoder/ serves its files by plain name, with their types, and the
// decoder page links its code there; nothing else of the folder is reached.
TEST(AnswerRequest, ServesTheEncoderSiteBesideTheDecoderPage) {
    const EncoderSite site = {{"index.html", {"<p>encoder</p>", "text/html; charset=utf-8", {}}},
                              {"engine.js", {"var e;", "text/javascript; charset=utf-8", {}}},
                              {"engine.wasm", {"\0asm", "application/wasm", {}}}};
    const struct {
        const char* Path;
        int Status;
        const char* Type;
    } cases[] = {
        {"/encoder/", 200, "text/html; charset=utf-8"},
        {"/encoder/index.html", 200, "text/html; charset=utf-8"},
        {"/encoder/engine.js", 200, "text/javascript; charset=utf-8"},
        {"/encoder/engine.wasm", 200, "application/wasm"},
        {"/encoder", 301, "text/html; charset=utf-8"},
        {"/encoder/missing.js", 404, "text/html; charset=utf-8"},
        {"/encoder/../engine.js", 404, "text/html; charset=utf-8"},
        {"/encoder/%2e%2e/x", 404, "text/html; charset=utf-8"},
    };
    for (const auto& c : cases) {
        const DecoderReply reply = AnswerRequest(RequestMethod::Get, c.Path, "", {}, &site);
        EXPECT_EQ(reply.Status, c.Status) << c.Path;
        EXPECT_EQ(reply.ContentType, c.Type) << c.Path;
        EXPECT_EQ(reply.FromSite, c.Status == 200) << c.Path;
    }
    EXPECT_EQ(AnswerRequest(RequestMethod::Get, "/encoder", "", "/s", &site).Location, "/s/encoder/");
    EXPECT_EQ(Get("/encoder/", "").Status, 404) << "without a site";

    const std::string code = "GlomieCode(1.12.05) SM:5-[7+]m+ P:x75%";
    const std::string linked =
        AnswerRequest(RequestMethod::Get, kDecoderPath, "name=" + EscapeForDecoder(code), {}, &site).Body;
    EXPECT_TRUE(Contains(
        linked, "<a href=\"/encoder/#code=GlomieCode(1.12.05)%20SM%3A5-%5B7%2B%5Dm%2B%20P%3Ax75%25\">"))
        << linked;
    EXPECT_FALSE(Contains(Get(kDecoderPath, "name=" + EscapeForDecoder(code)).Body, "/encoder/"));

    for (const std::string_view name : {"a.html", "style.css", "engine.wasm"})
        EXPECT_FALSE(SiteContentType(name).empty()) << name;
    for (const std::string_view name : {".hidden.js", "sub/a.js", "a.sh", "index", "..", "a b.js"})
        EXPECT_TRUE(SiteContentType(name).empty()) << name;

    // A page's own policy is sent as its header too; none that could break out of a header line.
    const std::pair<std::string_view, std::string_view> policies[] = {
        {R"(<meta http-equiv="Content-Security-Policy" content="script-src 'self' 'sha256-x'">)",
         "script-src 'self' 'sha256-x'"},
        {"<p>no policy</p>", ""},
        {"<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'self'\r\nX: y\">", ""},
        {"<meta http-equiv=\"Content-Security-Policy\" content=\"script-src", ""},
    };
    for (const auto& [page, policy] : policies)
        EXPECT_EQ(SitePagePolicy(page), policy) << page;
}

} // namespace
