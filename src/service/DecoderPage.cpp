// SPDX-License-Identifier: MIT
#include "service/DecoderPage.h"

#include <algorithm>

#include "address/DecoderAddress.h"
#include "text/HtmlEscape.h"

namespace {

const char kStyle[] = "body{margin:0;padding:1rem;font-family:system-ui,sans-serif;line-height:1.5;"
                      "color:#1d1d1f;background:#fbfbfd}"
                      "main{max-width:42rem;margin:0 auto}"
                      "h1{font-size:1.5rem;margin:.5rem 0 1rem}"
                      "h2{font-size:1.15rem;margin:1.5rem 0 .25rem;border-bottom:1px solid #ddd}"
                      ".code{font-family:ui-monospace,monospace;overflow-wrap:anywhere;background:#fff;"
                      "border:1px solid #ccc;border-radius:4px;padding:.5rem .75rem}"
                      "ul{padding-left:1.25rem;margin:.25rem 0}li{margin:.2rem 0}"
                      ".ambiguous{font-style:italic}.problems li{color:#a00}"
                      "form{margin-top:2rem}label{display:block;font-weight:600;margin-bottom:.25rem}"
                      "textarea{width:100%;box-sizing:border-box;font:inherit;"
                      "font-family:ui-monospace,monospace;padding:.5rem}"
                      "button{margin-top:.5rem;font:inherit;padding:.4rem 1.2rem}";

void OpenPage(std::string& page, std::string_view title) {
    page += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    page += HtmlEscape(title);
    page += "</title>\n<style>";
    page += kStyle;
    page += "</style>\n</head>\n<body>\n<main>\n<h1>Glomie Code decoder</h1>\n";
}

void ClosePage(std::string& page) {
    page += "</main>\n</body>\n</html>\n";
}

void AppendForm(std::string& page, std::string_view text, std::string_view pathPrefix) {
    page += "<form action=\"";
    page += HtmlEscape(pathPrefix);
    page += kDecoderPath;
    page += "\" method=\"get\">\n<label for=\"name\">Code</label>\n"
            "<textarea id=\"name\" name=\"name\" rows=\"3\" required>";
    page += HtmlEscape(text);
    page += "</textarea>\n<button type=\"submit\">Decode</button>\n</form>\n";
}

void AppendSentences(std::string& page, const DecodeResult& result) {
    for (const SentenceGroup& group : SentenceGroups(result)) {
        page += "<section>\n<h2>";
        page += HtmlEscape(group.Title);
        page += "</h2>\n<ul>\n";
        for (const DecodedSentence& sentence : group.Sentences) {
            page += sentence.Ambiguous ? "<li class=\"ambiguous\">" : "<li>";
            page += HtmlEscape(result.text(sentence));
            page += "</li>\n";
        }
        page += "</ul>\n</section>\n";
    }
}

void AppendProblems(std::string& page, const DecodeResult& result) {
    if (result.Problems.empty())
        return;
    page += "<section class=\"problems\">\n<h2>Not understood</h2>\n<ul>\n";
    for (const DecodeProblem& problem : result.Problems) {
        page += "<li><code>";
        page += HtmlEscape(problem.Text);
        page += "</code>: ";
        page += HtmlEscape(problem.Message);
        page += "</li>\n";
    }
    page += "</ul>\n</section>\n";
}

// A page with one note, and the form (holding the text sent, if any) where it helps.
std::string RenderNotePage(std::string_view title, std::string_view note, bool withForm,
                           std::string_view pathPrefix, std::string_view formText = {}) {
    std::string page;
    OpenPage(page, title);
    page += "<p>";
    page += HtmlEscape(note);
    page += "</p>\n";
    if (withForm)
        AppendForm(page, formText, pathPrefix);
    ClosePage(page);
    return page;
}

} // namespace

std::string RenderFormPage(std::string_view pathPrefix) {
    std::string page;
    OpenPage(page, "Glomie Code decoder");
    page += "<p>Paste a Glomie Code to read what it says.</p>\n";
    AppendForm(page, {}, pathPrefix);
    ClosePage(page);
    return page;
}

std::string RenderDecoderPage(std::string_view text, const DecodeResult& result, std::string_view pathPrefix,
                              bool withEncoder) {
    if (!result.HeaderFound)
        return RenderNotePage("No Glomie Code",
                              "There is no Glomie Code in this text. A code begins with \"GlomieCode(\".",
                              true, pathPrefix, text);
    std::string page;
    OpenPage(page, "Glomie Code decoded");
    const size_t begin = std::min(result.CodeBegin, text.size());
    const size_t end = std::clamp(result.CodeEnd, begin, text.size());
    page += "<p class=\"code\">";
    page += HtmlEscape(text.substr(begin, end - begin));
    page += "</p>\n";
    if (withEncoder) {
        page += "<p><a href=\"";
        page += HtmlEscape(pathPrefix);
        page += kEncoderPath;
        page += "#code=";
        page += PercentEncode(text.substr(begin, end - begin));
        page += "\">Edit this code</a></p>\n";
    }
    if (!result.complete())
        page += "<p>Part of this code could not be read; what could be read is below.</p>\n";
    AppendSentences(page, result);
    AppendProblems(page, result);
    AppendForm(page, text.substr(begin, end - begin), pathPrefix);
    ClosePage(page);
    return page;
}

std::string SitePagePolicy(std::string_view html) {
    static constexpr std::string_view kMeta = "<meta http-equiv=\"Content-Security-Policy\" content=\"";
    const size_t start = html.find(kMeta);
    if (start == std::string_view::npos)
        return {};
    const std::string_view rest = html.substr(start + kMeta.size());
    const size_t end = rest.find('"');
    const std::string_view policy = rest.substr(0, end);
    const bool fitsAHeader =
        std::all_of(policy.begin(), policy.end(), [](char c) { return c >= ' ' && c != 127; });
    if (end == std::string_view::npos || policy.empty() || !fitsAHeader)
        return {};
    return std::string(policy);
}

std::string_view SiteContentType(std::string_view name) {
    if (name.empty() || name.front() == '.' ||
        name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-") !=
            std::string_view::npos)
        return {};
    static constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".wasm", "application/wasm"},
        {".png", "image/png"},
        {".svg", "image/svg+xml"},
        {".ico", "image/x-icon"},
        {".json", "application/json"},
        {".webmanifest", "application/manifest+json"},
    };
    for (const auto& [ending, type] : kTypes)
        if (name.size() > ending.size() && name.ends_with(ending))
            return type;
    return {};
}

DecoderReply AnswerRequest(RequestMethod method, std::string_view path, std::string_view query,
                           std::string_view pathPrefix, const EncoderSite* site) {
    if (method == RequestMethod::Other)
        return {405, RenderNotePage("Method not allowed", "This page can only be read (GET or HEAD).", false,
                                    pathPrefix)};
    if (query.size() > kMaxQueryLength)
        return {414, RenderNotePage("Address too long", "The address is too long to be a Glomie Code.", true,
                                    pathPrefix)};
    if (path == "/")
        return {200, RenderFormPage(pathPrefix)};
    if (site && path.starts_with(kEncoderPath)) {
        std::string_view name = path.substr(kEncoderPath.size());
        if (name.empty())
            name = "index.html";
        if (const auto file = site->find(name); file != site->end()) {
            DecoderReply reply(200, {});
            reply.SiteBody = file->second.Body;
            reply.ContentType = file->second.ContentType;
            reply.FromSite = true;
            reply.SitePolicy = file->second.Policy;
            return reply;
        }
    }
    if (site && path == kEncoderPath.substr(0, kEncoderPath.size() - 1)) {
        DecoderReply moved(301, RenderNotePage("Moved", "The encoder is at /encoder/.", false, pathPrefix));
        moved.Location = std::string(pathPrefix) + std::string(kEncoderPath);
        return moved;
    }
    if (path != kDecoderPath)
        return {404, RenderNotePage("Not found", "There is no page at this address.", false, pathPrefix)};
    const std::optional<std::string> text = QueryParameter(query, kCodeParameter);
    if (!text || text->find_first_not_of(" \t\r\n") == std::string::npos)
        return {200, RenderNotePage("Glomie Code decoder", "No code was given. Paste one below.", true,
                                    pathPrefix)};
    return {200, RenderDecoderPage(*text, DecodeGlomieCode(*text), pathPrefix, site != nullptr)};
}
