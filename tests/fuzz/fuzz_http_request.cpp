// Any bytes from the network as a request: the parser must never crash, read the same request
// whether the bytes come at once or piece by piece (searching on from where it stopped), and
// hand on only what it promises: a token for the method, a path, no control byte anywhere.

#include "HttpRequestParser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "HTTP request fuzz: %s\n", what);
    std::abort();
}

bool same(const HttpParse& a, const HttpParse& b)
{
    const HttpRequest& x = a.request;
    const HttpRequest& y = b.request;
    return a.outcome == b.outcome && a.status == b.status && a.consumed == b.consumed
        && a.continueWanted == b.continueWanted && x.method == y.method && x.path == y.path
        && x.query == y.query && x.host == y.host && x.body == y.body && x.keepAlive == y.keepAlive
        && x.webSocketUpgrade == y.webSocketUpgrade && x.origin == y.origin
        && x.webSocketKey == y.webSocketKey;
}

// A tab may stand inside a field value, nowhere else.
bool hasControl(const QByteArray& text, bool fieldValue)
{
    return std::any_of(text.begin(), text.end(), [fieldValue](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && !(fieldValue && byte == '\t')) || byte == 0x7f;
    });
}

// Fed as a connection reads: in pieces whose sizes come from the first byte.
HttpParse piecewise(QByteArrayView bytes, qsizetype step)
{
    qsizetype searched = 0;
    for (qsizetype arrived = std::min(step, bytes.size());; arrived += step) {
        arrived = std::min(arrived, bytes.size());
        const HttpParse parse = parseHttpRequest(bytes.first(arrived), searched);
        if (parse.outcome != HttpParse::Outcome::Incomplete || arrived == bytes.size())
            return parse;
        searched = parse.searched;
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype step = 1 + data[0] % 64;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    const HttpParse whole = parseHttpRequest(bytes);
    const HttpParse pieces = piecewise(bytes, step);
    // Pieces may end a request earlier than the whole (a refusal seen on fewer bytes), never
    // read it differently: the whole from where the pieces stopped must agree.
    if (!same(pieces,
            parseHttpRequest(bytes.first(
                pieces.outcome == HttpParse::Outcome::Complete ? pieces.consumed : bytes.size()))))
        fail("pieces read differently");
    if (whole.outcome != HttpParse::Outcome::Complete)
        return 0;
    const HttpRequest& request = whole.request;
    if (whole.consumed > bytes.size() || request.body.size() > kMaxBodyBytes)
        fail("read past the bytes or the limit");
    if (request.method.isEmpty() || !request.path.startsWith('/'))
        fail("no method or no path");
    for (const QByteArray* text :
        { &request.method, &request.path, &request.query, &request.host }) {
        if (hasControl(*text, false))
            fail("a control byte handed on");
    }
    for (const QByteArray* text : { &request.origin, &request.webSocketKey }) {
        if (hasControl(*text, true))
            fail("a control byte handed on in a value");
    }
    // A host from the target is as valid as one from the header.
    if (!request.host.isEmpty()
        && parseHttpRequest("GET / HTTP/1.1\r\nHost: " + request.host + "\r\n\r\n").outcome
            != HttpParse::Outcome::Complete)
        fail("a Host handed on that is none");
    return 0;
}
