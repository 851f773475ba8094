// SPDX-License-Identifier: MIT
#include "address/DecoderAddress.h"

#include <algorithm>
#include <cstdlib>

#include "text/HexDigit.h"

std::string EscapeForDecoder(std::string_view code) {
    std::string escaped;
    escaped.reserve(code.size() + code.size() / 4);
    for (const char c : code) {
        if (c == ' ')
            escaped += "%20";
        else if (c == '+')
            escaped += "%2B";
        else
            escaped += c;
    }
    return escaped;
}

std::string ConfiguredDecoderHost() {
    const char* configured = std::getenv("GLOMIECODE_DECODER_HOST");
    std::string_view host = configured ? configured : "";
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!host.empty() && isBlank(host.front()))
        host.remove_prefix(1);
    while (!host.empty() && isBlank(host.back()))
        host.remove_suffix(1);
    return std::string(host);
}

std::string DecoderSite(std::string_view host) {
    while (!host.empty() && host.back() == '/')
        host.remove_suffix(1);
    std::string site;
    if (host.find("://") == std::string_view::npos)
        site = "http://";
    site += host;
    return site;
}

std::string DecoderAddress(std::string_view host, std::string_view code) {
    std::string address = DecoderSite(host);
    address += kDecoderPath;
    address += '?';
    address += kCodeParameter;
    address += '=';
    address += EscapeForDecoder(code);
    return address;
}

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3 / 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
            std::string_view("-_.!~*'()").find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

std::string DecodeQueryComponent(std::string_view component) {
    std::string decoded;
    decoded.reserve(component.size());
    for (size_t i = 0; i < component.size(); ++i) {
        const char c = component[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < component.size() && HexDigitValue(component[i + 1]) >= 0 &&
                   HexDigitValue(component[i + 2]) >= 0) {
            decoded +=
                static_cast<char>(HexDigitValue(component[i + 1]) * 16 + HexDigitValue(component[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

std::optional<std::string> QueryParameter(std::string_view query, std::string_view name) {
    while (true) {
        const size_t end = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, end);
        const size_t equals = pair.find('=');
        const std::string_view key = pair.substr(0, equals);
        if (!pair.empty() && DecodeQueryComponent(key) == name)
            return equals == std::string_view::npos ? std::string()
                                                    : DecodeQueryComponent(pair.substr(equals + 1));
        if (end == query.size())
            return std::nullopt;
        query.remove_prefix(end + 1);
    }
}
