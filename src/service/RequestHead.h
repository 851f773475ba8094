// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The head of one HTTP/1.x request (request line, header lines, empty line), read as its bytes
// arrive: a byte that cannot belong to a request is caught at once, so a client speaking another
// protocol is answered without waiting for a line end, and no byte is looked at twice.
class RequestHead {
  public:
    enum class Status {
        Incomplete,  // more bytes are needed
        Complete,    // the empty line that ends the head has been read
        Malformed,   // not an HTTP request head
        TooLong,     // longer than the limit without an end
        LineTooLong, // as TooLong, but the request line itself had not ended
    };

    explicit RequestHead(size_t maxBytes) : m_maxBytes(maxBytes) {}

    // Reads bytes until the head is complete or found malformed; returns how many bytes it used
    // (the rest belongs to the body or the next request).
    size_t read(std::string_view bytes);
    Status state() const { return m_status; }

    const std::string& method() const { return m_method; }
    const std::string& target() const { return m_target; }
    // "HTTP/1.1"; only once the request line is complete.
    const std::string& version() const { return m_version; }
    // Every value given for a header, by its name in any letter case, in the order sent.
    std::vector<std::string_view> values(std::string_view name) const;
    // The request line as far as it was received, for the log.
    std::string_view requestLine() const { return m_line; }
    // Every header as sent: name and value (blanks around it removed).
    const std::vector<std::pair<std::string, std::string>>& headers() const { return m_headers; }

  private:
    enum class Part {
        BeforeLine,
        Method,
        Target,
        Version,
        LineEnd,
        HeaderStart,
        Name,
        Value,
        HeaderEnd,
        HeadEnd
    };
    bool step(char c);

    size_t m_maxBytes;
    size_t m_read = 0;
    Status m_status = Status::Incomplete;
    Part m_part = Part::BeforeLine;
    std::string m_method, m_target, m_version, m_line;
    std::vector<std::pair<std::string, std::string>> m_headers;
};

// How a complete head frames its request.
struct RequestFraming {
    int Error = 0;                 // the status to answer before closing, 0 for a sound request
    size_t BodyLength = 0;         // the body bytes that follow the head, read and dropped
    bool KeepAlive = false;        // the connection stays open for the next request
    bool ContinueExpected = false; // "Expect: 100-continue": the client may hold its body back
};

// The framing of a complete head: HTTP/1.1 keeps the connection unless "Connection: close",
// HTTP/1.0 closes it unless "Connection: keep-alive"; a Content-Length must be a number, the same
// in every header that gives one, and at most maxBody; a Transfer-Encoding is not supported. A
// request has at most one Host, and from HTTP/1.1 on exactly one. HTTP/1.0 knows no Expect.
RequestFraming FrameRequest(const RequestHead& head, size_t maxBody);
