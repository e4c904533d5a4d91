#include "HttpRequestParser.h"

namespace {

constexpr QByteArrayView kHeadEnd = "\r\n\r\n";

HttpParse refused(int status)
{
    HttpParse parse;
    parse.outcome = HttpParse::Outcome::Refused;
    parse.status = status;
    return parse;
}

bool isTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (!isTokenChar(c))
            return false;
    }
    return true;
}

// One of the comma-separated elements of a header value, without letter case.
bool listHas(QByteArrayView value, QByteArrayView wanted)
{
    for (const QByteArray& element : value.toByteArray().split(',')) {
        if (element.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
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
    bool chunked = false;
    bool expectContinue = false;
    bool otherExpectation = false;
    bool connectionUpgrade = false;
    bool upgradeWebSocket = false;
    bool connectionClose = false;
};

// 0 when the request line is sound, else the status to refuse it with.
int readRequestLine(QByteArrayView line, Head& head)
{
    const QList<QByteArray> parts = line.toByteArray().split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || !parts[1].startsWith('/'))
        return 400;
    const QByteArray& version = parts[2];
    if (version.size() != 8 || !version.startsWith("HTTP/") || version[6] != '.')
        return 400;
    if (version[5] != '1' || (version[7] != '0' && version[7] != '1'))
        return 505;
    head.minorVersion = version[7] - '0';
    head.request.method = parts[0];
    const qsizetype question = parts[1].indexOf('?');
    head.request.path = parts[1].left(question < 0 ? parts[1].size() : question);
    head.request.query = question < 0 ? QByteArray() : parts[1].mid(question + 1);
    return 0;
}

int readHeader(QByteArrayView line, Head& head)
{
    const qsizetype colon = line.indexOf(':');
    // A line folded onto the one before it, or a name with blanks, can be read two ways.
    if (colon <= 0 || !isToken(line.first(colon)))
        return 400;
    const QByteArrayView name = line.first(colon);
    const QByteArrayView value = line.sliced(colon + 1).trimmed();
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

}

HttpParse parseHttpRequest(QByteArrayView buffered)
{
    const qsizetype headEnd
        = buffered.first(std::min(buffered.size(), kMaxHeadBytes)).indexOf(kHeadEnd);
    if (headEnd < 0)
        return buffered.size() >= kMaxHeadBytes ? refused(431) : HttpParse {};

    Head head;
    const QList<QByteArray> lines = buffered.first(headEnd).toByteArray().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArrayView line = lines[i];
        if (!line.endsWith('\r') && i + 1 < lines.size())
            return refused(400);
        line.chop(line.endsWith('\r') ? 1 : 0);
        if (const int status = i == 0 ? readRequestLine(line, head) : readHeader(line, head))
            return refused(status);
    }
    if (const int status = judge(head))
        return refused(status);

    HttpParse parse;
    const qsizetype bodyStart = headEnd + kHeadEnd.size();
    const qsizetype arrived = buffered.size() - bodyStart;
    if (arrived < head.length) {
        parse.continueWanted = head.expectContinue && arrived == 0 && head.minorVersion == 1;
        return parse;
    }
    parse.outcome = HttpParse::Outcome::Complete;
    parse.consumed = bodyStart + head.length;
    parse.request = std::move(head.request);
    parse.request.body = buffered.sliced(bodyStart, head.length).toByteArray();
    parse.request.keepAlive = head.minorVersion == 1 && !head.connectionClose;
    parse.request.webSocketUpgrade
        = head.upgradeWebSocket && head.connectionUpgrade && parse.request.method == "GET";
    return parse;
}

bool hostNamesThisServer(QByteArrayView host, const QList<QByteArray>& names)
{
    // "[::1]:8765", "192.168.1.5:8765", "name": the port is after the last colon that follows
    // the closing bracket of an IPv6 literal, if any.
    const qsizetype bracket = host.lastIndexOf(']');
    const qsizetype colon = host.lastIndexOf(':');
    QByteArrayView name = host;
    if (colon > bracket && (bracket >= 0 || host.indexOf(':') == colon))
        name = host.first(colon);
    if (name.startsWith('[') && name.endsWith(']'))
        name = name.sliced(1, name.size() - 2);
    for (const QByteArray& known : names) {
        if (name.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
