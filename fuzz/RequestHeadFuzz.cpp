// SPDX-License-Identifier: MIT
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "service/RequestHead.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "request_head_fuzz: %s\n", what);
    std::abort();
}

bool SameHead(const RequestHead& a, const RequestHead& b) {
    return a.state() == b.state() && a.method() == b.method() && a.target() == b.target() &&
           a.version() == b.version() && a.requestLine() == b.requestLine() && a.headers() == b.headers();
}

bool SameFraming(const RequestFraming& a, const RequestFraming& b) {
    return a.Error == b.Error && a.BodyLength == b.BodyLength && a.KeepAlive == b.KeepAlive &&
           a.ContinueExpected == b.ContinueExpected;
}

// Reads the pieces in turn, as a socket delivers them; returns the bytes the head used.
size_t ReadInPieces(RequestHead& head, std::string_view text, size_t split) {
    const size_t first = head.read(text.substr(0, split));
    if (head.state() != RequestHead::Status::Incomplete)
        return first;
    if (first != split)
        Broken("an incomplete head left bytes of its piece unread");
    return first + head.read(text.substr(split));
}

} // namespace

// The first byte picks the head's limit (small ones reach both kinds of too long), the next two where
// the head is split; the rest is the head. Whole, in two pieces or byte by byte, it reads the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const size_t limit = data[0] == 0xFF ? 256 * 1024 : 1 + size_t(data[0]) * 4;
    const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);
    const size_t split = ((size_t(data[1]) << 8) | data[2]) % (text.size() + 1);

    RequestHead whole(limit);
    const size_t used = whole.read(text);
    RequestHead pieces(limit);
    const size_t usedInPieces = ReadInPieces(pieces, text, split);
    RequestHead bytes(limit);
    size_t usedByteByByte = 0;
    for (size_t i = 0; i < text.size() && bytes.state() == RequestHead::Status::Incomplete; ++i)
        usedByteByByte += bytes.read(text.substr(i, 1));

    if (!SameHead(whole, pieces) || used != usedInPieces)
        Broken("a head read in two pieces differs from the head read whole");
    if (!SameHead(whole, bytes) || used != usedByteByByte)
        Broken("a head read byte by byte differs from the head read whole");

    switch (whole.state()) {
    case RequestHead::Status::Incomplete:
        if (used != text.size() || used > limit)
            Broken("an incomplete head did not take all it was given, or took more than its limit");
        break;
    case RequestHead::Status::TooLong:
    case RequestHead::Status::LineTooLong:
        if (used != limit || used >= text.size())
            Broken("a head too long did not stop at its limit");
        break;
    case RequestHead::Status::Malformed:
        if (used == 0 || used > limit)
            Broken("a malformed head without a byte that made it so");
        break;
    case RequestHead::Status::Complete: {
        if (used == 0 || used > limit || whole.method().empty() || whole.target().empty() ||
            whole.version().size() != 8 || whole.version().compare(0, 5, "HTTP/") != 0)
            Broken("a complete head without a request line");
        if (!SameFraming(FrameRequest(whole, limit), FrameRequest(pieces, limit)))
            Broken("the same head framed two ways");
        break;
    }
    }
    if (whole.requestLine().size() > 512)
        Broken("the request line kept for the log is unbounded");
    return 0;
}
