// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "decoder/Decoder.h"
#include "text/HtmlEscape.h"

// The decoder page and its answers to requests, as plain functions of the request: no socket, no
// files. Every text that comes from the request is HTML-escaped before it reaches a page.

// The pages below may be served under a path prefix ("/secret"): their form then sends the code to
// prefix + "/cgi-usr/qpx/gcp.pl".

// The start page: a form to paste a code into.
std::string RenderFormPage(std::string_view pathPrefix = {});
// The page for a text sent as the code: the code found in it and the decoder's sentences, grouped
// by section, then whatever could not be read.
// With withEncoder, the code comes with a link to the encoder in the browser, which opens it.
std::string RenderDecoderPage(std::string_view text, const DecodeResult& result,
                              std::string_view pathPrefix = {}, bool withEncoder = false);

// The encoder in the browser, served beside the decoder page under /encoder/: its files by name.
inline constexpr std::string_view kEncoderPath = "/encoder/";
struct SiteFile {
    std::string Body;
    std::string_view ContentType;
    std::string Policy; // a page's own security policy, sent as its header too; empty: the site's
};
using EncoderSite = std::map<std::string, SiteFile, std::less<>>;
// The content type of a file the site may hold, by the end of its name: a page, a style sheet, a
// script, a WebAssembly module, a picture; empty for any other name, or one that is no plain file
// name (a path, a hidden file).
std::string_view SiteContentType(std::string_view name);
// The security policy a page of the site names in its <meta http-equiv="Content-Security-Policy">
// (which lets the page's one inline script run by its hash); empty when it names none, or one that
// could not stand in a header line.
std::string SitePagePolicy(std::string_view html);

enum class RequestMethod { Get, Head, Other };

struct DecoderReply {
    DecoderReply(int status, std::string body) : Status(status), Body(std::move(body)) {}

    int Status = 200;
    std::string Body; // a HEAD request gets the headers of this body only
    // A file of the encoder's site, which outlives the reply, in place of Body: not copied.
    std::string_view SiteBody;
    std::string_view body() const { return FromSite ? SiteBody : std::string_view(Body); }
    std::string_view ContentType = "text/html; charset=utf-8";
    bool FromSite = false;       // a file of the encoder's site, which has a policy of its own
    std::string_view SitePolicy; // that page's own, where it names one
    std::string Location;        // where a 301 sends the browser
};

// The answer to one request, from its method, its path (with the prefix taken off) and its raw query
// (as sent, without "?"). With a site, /encoder/ serves it, and the decoder page links a code to it.
DecoderReply AnswerRequest(RequestMethod method, std::string_view path, std::string_view query,
                           std::string_view pathPrefix = {}, const EncoderSite* site = nullptr);
