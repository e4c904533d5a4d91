#include "HttpRequestParser.h"

#include <algorithm>
#include <optional>

namespace {

constexpr QByteArrayView kHeadEnd = "\r\n\r\n";
constexpr QByteArrayView kLineEnd = "\r\n";
constexpr QByteArrayView kAbsoluteScheme = "http://";

HttpParse refused(int status)
{
    HttpParse parse;
    parse.outcome = HttpParse::Outcome::Refused;
    parse.status = status;
    return parse;
}

bool isAlphaNumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isTokenChar(char c)
{
    return isAlphaNumeric(c) || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool allOf(QByteArrayView text, bool (*wanted)(char))
{
    return std::all_of(text.begin(), text.end(), wanted);
}

bool isToken(QByteArrayView text)
{
    return !text.isEmpty() && allOf(text, isTokenChar);
}

// Letters, digits, "-._~", "!$&'()*+,;=" and "%" with two hex digits, plus `more`.
bool isUriText(QByteArrayView text, QByteArrayView more)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2]))
                return false;
            i += 2;
        } else if (!isAlphaNumeric(c) && !QByteArrayView("-._~!$&'()*+,;=").contains(c)
            && !more.contains(c)) {
            return false;
        }
    }
    return true;
}

// A field value holds visible characters, blanks and tabs, and bytes past ASCII; no control.
bool isFieldValue(QByteArrayView value)
{
    return allOf(value, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '\t' || (byte >= 0x20 && byte != 0x7f);
    });
}

// Only blanks and tabs surround a value: any other control stays, and is refused.
QByteArrayView withoutBlanks(QByteArrayView value)
{
    while (!value.isEmpty() && (value.front() == ' ' || value.front() == '\t'))
        value = value.sliced(1);
    while (!value.isEmpty() && (value.back() == ' ' || value.back() == '\t'))
        value.chop(1);
    return value;
}

// The name of a host[:port] without its port and brackets; nothing when it is no such thing.
std::optional<QByteArrayView> hostName(QByteArrayView host)
{
    QByteArrayView name = host;
    QByteArrayView port;
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        if (close < 0 || (close + 1 < host.size() && host[close + 1] != ':'))
            return std::nullopt;
        name = host.sliced(1, close - 1);
        port = host.sliced(std::min(close + 2, host.size()));
        const bool literal = name.contains(':')
            && allOf(name, [](char c) { return isHexDigit(c) || c == ':' || c == '.'; });
        if (!literal)
            return std::nullopt;
    } else {
        const qsizetype colon = host.indexOf(':');
        if (colon >= 0) {
            name = host.first(colon);
            port = host.sliced(colon + 1);
        }
        if (name.isEmpty() || !isUriText(name, {}))
            return std::nullopt;
    }
    if (port.size() > 5 || !allOf(port, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return name;
}

// One of the comma-separated elements of a header value, without letter case.
bool listHas(QByteArrayView value, QByteArrayView wanted)
{
    for (const QByteArray& element : value.toByteArray().split(',')) {
        if (withoutBlanks(element).compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A length of digits only; anything past the body limit is simply "too large".
std::optional<qsizetype> bodyLength(QByteArrayView text)
{
    if (text.isEmpty())
        return std::nullopt;
    qsizetype length = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        length = std::min<qsizetype>(length * 10 + (c - '0'), kMaxBodyBytes + 1);
    }
    return length;
}

struct Head {
    HttpRequest request;
    int minorVersion = 1;
    int hosts = 0;
    int lengths = 0;
    qsizetype length = 0;
    bool absoluteTarget = false;
    bool chunked = false;
    bool expectContinue = false;
    bool otherExpectation = false;
    bool connectionUpgrade = false;
    bool upgradeWebSocket = false;
    bool connectionClose = false;
};

// The path and query of a target in origin form ("/status?t=…") or in absolute form
// ("http://host:port/status?t=…", whose host then stands for the Host header).
bool readTarget(QByteArrayView target, Head& head)
{
    if (target.size() > kAbsoluteScheme.size()
        && target.first(kAbsoluteScheme.size()).compare(kAbsoluteScheme, Qt::CaseInsensitive)
            == 0) {
        target = target.sliced(kAbsoluteScheme.size());
        const auto end = std::find_if(
            target.begin(), target.end(), [](char c) { return c == '/' || c == '?'; });
        const qsizetype pathStart = end - target.begin();
        const QByteArrayView authority = target.first(pathStart);
        if (!hostName(authority))
            return false;
        head.request.host = authority.toByteArray();
        head.absoluteTarget = true;
        target = target.sliced(pathStart);
        if (target.isEmpty() || target.startsWith('?'))
            head.request.path = "/";
    }
    if (!head.absoluteTarget && !target.startsWith('/'))
        return false;
    if (!isUriText(target, ":@/?"))
        return false;
    const qsizetype question = target.indexOf('?');
    head.request.path += target.first(question < 0 ? target.size() : question).toByteArray();
    head.request.query = question < 0 ? QByteArray() : target.sliced(question + 1).toByteArray();
    return true;
}

// 0 when the request line is sound, else the status to refuse it with.
int readRequestLine(QByteArrayView line, Head& head)
{
    const QList<QByteArray> parts = line.toByteArray().split(' ');
    if (parts.size() != 3 || !isToken(parts[0]))
        return 400;
    const QByteArray& version = parts[2];
    if (version.size() != 8 || !version.startsWith("HTTP/") || version[6] != '.'
        || !isAlphaNumeric(version[5]) || version[7] < '0' || version[7] > '9')
        return 400;
    if (version[5] != '1')
        return 505;
    if (!readTarget(parts[1], head))
        return 400;
    head.minorVersion = std::min(version[7] - '0', 1);
    head.request.method = parts[0];
    return 0;
}

int readHeader(QByteArrayView line, Head& head)
{
    const qsizetype colon = line.indexOf(':');
    // A line folded onto the one before it, or a name with blanks, can be read two ways.
    if (colon <= 0 || !isToken(line.first(colon)))
        return 400;
    const QByteArrayView name = line.first(colon);
    const QByteArrayView value = withoutBlanks(line.sliced(colon + 1));
    if (!isFieldValue(value))
        return 400;
    const auto is
        = [name](QByteArrayView wanted) { return name.compare(wanted, Qt::CaseInsensitive) == 0; };
    if (is("Content-Length")) {
        const auto length = bodyLength(value);
        if (!length)
            return 400;
        head.length = *length;
        ++head.lengths;
    } else if (is("Transfer-Encoding")) {
        head.chunked = true;
    } else if (is("Host")) {
        if (!hostName(value))
            return 400;
        // The target's own host, in absolute form, stands for the header.
        if (!head.absoluteTarget)
            head.request.host = value.toByteArray();
        ++head.hosts;
    } else if (is("Connection")) {
        head.connectionClose = head.connectionClose || listHas(value, "close");
        head.connectionUpgrade = head.connectionUpgrade || listHas(value, "upgrade");
    } else if (is("Upgrade")) {
        head.upgradeWebSocket = listHas(value, "websocket");
    } else if (is("Expect")) {
        if (value.compare("100-continue", Qt::CaseInsensitive) == 0)
            head.expectContinue = true;
        else
            head.otherExpectation = true;
    } else if (is("Origin")) {
        head.request.origin = value.toByteArray();
    } else if (is("Sec-WebSocket-Key")) {
        head.request.webSocketKey = value.toByteArray();
    } else if (is("Sec-WebSocket-Version")) {
        head.request.webSocketVersion = value.toByteArray();
    }
    return 0;
}

// 0 when the head asks for something this server does, else the status to refuse it with.
int judge(const Head& head)
{
    // Two lengths, or a length and chunks, are how a request is smuggled past a proxy.
    if (head.lengths > 1 || head.hosts > 1 || (head.minorVersion == 1 && head.hosts == 0))
        return 400;
    if (head.chunked)
        return 501;
    if (head.otherExpectation)
        return 417;
    if (head.length > kMaxBodyBytes)
        return 413;
    return 0;
}

// Empty lines before a request line are ignored (a client may end its last body with one).
qsizetype emptyLinesBefore(QByteArrayView buffered)
{
    qsizetype start = 0;
    while (buffered.sliced(start).startsWith(kLineEnd))
        start += kLineEnd.size();
    return start;
}

}

HttpParse parseHttpRequest(QByteArrayView buffered, qsizetype searched)
{
    const qsizetype start = emptyLinesBefore(buffered);
    const QByteArrayView head = buffered.first(std::min(buffered.size(), start + kMaxHeadBytes));
    const qsizetype headEnd = head.indexOf(kHeadEnd, std::max(start, searched));
    if (headEnd < 0) {
        if (head.size() - start >= kMaxHeadBytes)
            return refused(431);
        HttpParse waiting;
        waiting.searched = std::max(start, head.size() - (kHeadEnd.size() - 1));
        return waiting;
    }

    Head read;
    const QList<QByteArray> lines
        = buffered.sliced(start, headEnd - start).toByteArray().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArrayView line = lines[i];
        if (!line.endsWith('\r') && i + 1 < lines.size())
            return refused(400);
        line.chop(line.endsWith('\r') ? 1 : 0);
        if (const int status = i == 0 ? readRequestLine(line, read) : readHeader(line, read))
            return refused(status);
    }
    if (const int status = judge(read))
        return refused(status);

    HttpParse parse;
    parse.searched = headEnd;
    const qsizetype bodyStart = headEnd + kHeadEnd.size();
    const qsizetype arrived = buffered.size() - bodyStart;
    if (arrived < read.length) {
        parse.continueWanted = read.expectContinue && arrived == 0 && read.minorVersion == 1;
        return parse;
    }
    parse.outcome = HttpParse::Outcome::Complete;
    parse.consumed = bodyStart + read.length;
    parse.request = std::move(read.request);
    parse.request.body = buffered.sliced(bodyStart, read.length).toByteArray();
    parse.request.keepAlive = read.minorVersion == 1 && !read.connectionClose;
    parse.request.webSocketUpgrade
        = read.upgradeWebSocket && read.connectionUpgrade && parse.request.method == "GET";
    return parse;
}

bool hostNamesThisServer(QByteArrayView host, const QList<QByteArray>& names)
{
    const std::optional<QByteArrayView> name = hostName(host);
    return name && std::any_of(names.begin(), names.end(), [&name](const QByteArray& known) {
        return name->compare(known, Qt::CaseInsensitive) == 0;
    });
}
