#pragma once

#include <string>
#include <string_view>

#include "decoder/Decoder.h"

// The decoder page and its answers to requests, as plain functions of the request: no socket, no
// files. Every text that comes from the request is HTML-escaped before it reaches a page.

// Text for an HTML page: valid UTF-8 (a broken sequence shows as U+FFFD), markup characters and
// control characters escaped or replaced.
std::string HtmlEscape(std::string_view text);

// The pages below may be served under a path prefix ("/secret"): their form then sends the code to
// prefix + "/cgi-usr/qpx/gcp.pl".

// The start page: a form to paste a code into.
std::string RenderFormPage(std::string_view pathPrefix = {});
// The page for a text sent as the code: the code found in it and the decoder's sentences, grouped
// by section, then whatever could not be read.
std::string RenderDecoderPage(std::string_view text, const DecodeResult& result,
                              std::string_view pathPrefix = {});

enum class RequestMethod { Get, Head, Other };

struct DecoderReply {
    int Status = 200;
    std::string Body; // an HTML page, UTF-8; a HEAD request gets the headers of this body only
};

// The answer to one request, from its method, its path (with the prefix taken off) and its raw query
// (as sent, without "?").
DecoderReply AnswerRequest(RequestMethod method, std::string_view path, std::string_view query,
                           std::string_view pathPrefix = {});
