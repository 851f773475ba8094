// SPDX-License-Identifier: MIT
#include "service/RequestHead.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr size_t kMaxMethod = 32;
constexpr size_t kMaxHeaders = 100;
constexpr size_t kMaxLoggedLine = 512;
constexpr std::string_view kVersionPattern = "HTTP/9.9"; // 9 stands for any digit

// A character of a token: a method or a header name.
bool IsTokenChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// A character of a Host value: a name, an IPv4 or a bracketed IPv6 address, and a port.
bool IsHostChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("-._~%!$&'()*+,;=:[]").find(c) != std::string_view::npos;
}

// Whether a comma-separated header value lists the word.
bool ListsWord(std::string_view list, std::string_view word) {
    while (!list.empty()) {
        const size_t comma = list.find(',');
        if (SameWord(Trimmed(list.substr(0, comma)), word))
            return true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

} // namespace

size_t RequestHead::read(std::string_view bytes) {
    size_t used = 0;
    while (used < bytes.size() && m_status == Status::Incomplete) {
        if (m_read == m_maxBytes) {
            const bool inLine = m_part == Part::BeforeLine || m_part == Part::Method ||
                                m_part == Part::Target || m_part == Part::Version;
            m_status = inLine ? Status::LineTooLong : Status::TooLong;
            break;
        }
        // The target and the header values, most of a head, are taken a run of plain characters at a
        // time: what step() would do with each, at once.
        const size_t limit = std::min(bytes.size(), used + (m_maxBytes - m_read));
        size_t end = used;
        if (m_part == Part::Target || m_part == Part::Value) {
            while (end < limit && bytes[end] != ' ' && !IsControl(bytes[end]))
                ++end;
        }
        if (end > used) {
            const std::string_view run = bytes.substr(used, end - used);
            if (m_part == Part::Target) {
                m_target += run;
                if (m_line.size() < kMaxLoggedLine)
                    m_line += run.substr(0, kMaxLoggedLine - m_line.size());
            } else {
                m_headers.back().second += run;
            }
            m_read += run.size();
            used = end;
            continue;
        }
        const char c = bytes[used++];
        ++m_read;
        if (!step(c))
            m_status = Status::Malformed;
    }
    return used;
}

bool RequestHead::step(char c) {
    const bool inRequestLine = m_part == Part::BeforeLine || m_part == Part::Method ||
                               m_part == Part::Target || m_part == Part::Version;
    if (inRequestLine && c != '\r' && c != '\n' && m_line.size() < kMaxLoggedLine)
        m_line += c;
    switch (m_part) {
    case Part::BeforeLine: // empty lines before a request are allowed
        if (c == '\r' || c == '\n')
            return true;
        m_part = Part::Method;
        [[fallthrough]];
    case Part::Method:
        if (c == ' ' && !m_method.empty()) {
            m_part = Part::Target;
            return true;
        }
        if (!IsTokenChar(c) || m_method.size() == kMaxMethod)
            return false;
        m_method += c;
        return true;
    case Part::Target:
        if (c == ' ' && !m_target.empty()) {
            m_part = Part::Version;
            return true;
        }
        if (c == ' ' || IsControl(c))
            return false;
        m_target += c;
        return true;
    case Part::Version:
        if (m_version.size() == kVersionPattern.size()) {
            if (c != '\r' && c != '\n')
                return false;
            m_part = c == '\r' ? Part::LineEnd : Part::HeaderStart;
            return true;
        }
        if (kVersionPattern[m_version.size()] == '9' ? (c < '0' || c > '9')
                                                     : c != kVersionPattern[m_version.size()])
            return false;
        m_version += c;
        return true;
    case Part::LineEnd:
    case Part::HeaderEnd:
        if (c != '\n')
            return false;
        m_part = Part::HeaderStart;
        return true;
    case Part::HeaderStart:
        if (c == '\r') {
            m_part = Part::HeadEnd;
            return true;
        }
        if (c == '\n') {
            m_status = Status::Complete;
            return true;
        }
        // A folded line (starting with a blank) is obsolete and refused, like any other non-name.
        if (!IsTokenChar(c) || m_headers.size() == kMaxHeaders)
            return false;
        m_headers.emplace_back(std::string(1, c), std::string());
        m_part = Part::Name;
        return true;
    case Part::Name:
        if (c == ':') {
            m_part = Part::Value;
            return true;
        }
        if (!IsTokenChar(c))
            return false; // a header line without a colon
        m_headers.back().first += c;
        return true;
    case Part::Value:
        if (c == '\r' || c == '\n') {
            m_headers.back().second = std::string(Trimmed(m_headers.back().second));
            m_part = c == '\r' ? Part::HeaderEnd : Part::HeaderStart;
            return true;
        }
        if (IsControl(c) && c != '\t')
            return false;
        m_headers.back().second += c;
        return true;
    case Part::HeadEnd:
        if (c != '\n')
            return false;
        m_status = Status::Complete;
        return true;
    }
    return false;
}

std::vector<std::string_view> RequestHead::values(std::string_view name) const {
    std::vector<std::string_view> values;
    for (const auto& [header, value] : m_headers)
        if (SameWord(header, name))
            values.emplace_back(value);
    return values;
}

RequestFraming FrameRequest(const RequestHead& head, size_t maxBody) {
    RequestFraming framing;
    if (head.version().compare(0, 7, "HTTP/1.") != 0) {
        framing.Error = 505;
        return framing;
    }
    // A Host missing, doubled or not a host leaves open which site is meant (RFC 9112, 3.2).
    const std::vector<std::string_view> hosts = head.values("Host");
    if (hosts.size() > 1 || (hosts.empty() && head.version() != "HTTP/1.0") ||
        (!hosts.empty() && !std::all_of(hosts.front().begin(), hosts.front().end(), IsHostChar))) {
        framing.Error = 400;
        return framing;
    }
    if (!head.values("Transfer-Encoding").empty()) {
        framing.Error = 501; // no request here has a body worth reading in chunks
        return framing;
    }
    const std::vector<std::string_view> lengths = head.values("Content-Length");
    for (const std::string_view length : lengths) {
        size_t value = 0;
        const auto [end, error] = std::from_chars(length.data(), length.data() + length.size(), value);
        // Two different lengths leave the request's end in doubt: a proxy might read another one.
        if (length.empty() || error != std::errc() || end != length.data() + length.size() ||
            length != lengths.front()) {
            framing.Error = 400;
            return framing;
        }
        framing.BodyLength = value;
    }
    if (framing.BodyLength > maxBody) {
        framing.Error = 413;
        return framing;
    }
    bool close = false;
    bool keepAlive = false;
    for (const std::string_view connection : head.values("Connection")) {
        close = close || ListsWord(connection, "close");
        keepAlive = keepAlive || ListsWord(connection, "keep-alive");
    }
    framing.KeepAlive = !close && (head.version() != "HTTP/1.0" || keepAlive);
    if (head.version() != "HTTP/1.0")
        for (const std::string_view expect : head.values("Expect"))
            framing.ContinueExpected = framing.ContinueExpected || ListsWord(expect, "100-continue");
    return framing;
}
