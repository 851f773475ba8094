// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The decoder address and its query, as the encoder writes it and as browsers send it back.

// The path of the decoder page on its host.
inline constexpr std::string_view kDecoderPath = "/cgi-usr/qpx/gcp.pl";
// The query parameter that carries the code.
inline constexpr std::string_view kCodeParameter = "name";
// Longer queries are refused: a code is a few hundred characters at most.
inline constexpr size_t kMaxQueryLength = 8 * 1024;

// The code as the query value of the decoder address: a blank becomes "%20", a "+" becomes "%2B",
// every other character is kept, "%" and "[" included.
std::string EscapeForDecoder(std::string_view code);

// The decoder host the user configured in GLOMIECODE_DECODER_HOST, without blanks around it; empty
// when none is, and the encoder serves the decoder page itself.
std::string ConfiguredDecoderHost();

// The site a decoder host names, without a slash at its end: a bare host ("decoder.example.org",
// "127.0.0.1:8080") is reached over "http://"; one written with its scheme
// ("https://decoder.example.org/") keeps it.
std::string DecoderSite(std::string_view host);

// The decoder address of a code on a host: the site + "/cgi-usr/qpx/gcp.pl?name=" + the escaped code.
std::string DecoderAddress(std::string_view host, std::string_view code);

// Text as one component of an address (a query value, a fragment), as a browser's
// encodeURIComponent writes it: every byte but letters, digits and - _ . ! ~ * ' ( ) as "%XX".
std::string PercentEncode(std::string_view text);

// One query component as browsers send it: "%" and two hex digits is that byte, "+" is a blank, and
// a "%" not followed by two hex digits is kept (a purity score such as ':x75%' holds one).
std::string DecodeQueryComponent(std::string_view component);

// The decoded value of the first parameter with that name in a raw query ("a=1&name=..."), or
// nothing when the query has no such parameter.
std::optional<std::string> QueryParameter(std::string_view query, std::string_view name);
