#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// One HTTP/1.x request read from what a connection has buffered so far, with the limits of a
// server that anybody on the network can reach: the decision is taken on the bytes seen, so a
// request that can only be refused is refused before the rest of it is read.
//  - the head (request line and headers) may hold at most kMaxHeadBytes;
//  - a body must be announced by one Content-Length of at most kMaxBodyBytes (no chunked
//    bodies: nothing the phone sends needs them);
//  - HTTP/1.1 needs one Host, a valid host[:port]; HTTP/1.0 connections close after their reply;
//    a later HTTP/1.x is served as 1.1, and a target in absolute form names its host itself;
//  - no byte that two readers could read two ways: controls in a field value or in the target,
//    a line feed without its carriage return, a blank in a header's name;
//  - "Expect: 100-continue" is answered before the body is read, when the body may come.
struct HttpRequest {
    QByteArray method;
    QByteArray path;
    QByteArray query;
    QByteArray host;
    QByteArray body;
    bool keepAlive = true;
    bool webSocketUpgrade = false;
    // What a WebSocket handshake carries, as sent.
    QByteArray origin;
    QByteArray webSocketKey;
    QByteArray webSocketVersion;
};

struct HttpParse {
    enum class Outcome {
        Incomplete, // wait for more bytes
        Complete, // `request` is whole; `consumed` bytes belong to it
        Refused, // answer `status` and close the connection
    };
    Outcome outcome = Outcome::Incomplete;
    int status = 0;
    qsizetype consumed = 0;
    // The head is whole and asks to be told before sending its body.
    bool continueWanted = false;
    // The bytes before this offset hold no end of the head: the next read searches on from here.
    qsizetype searched = 0;
    HttpRequest request;
};

inline constexpr qsizetype kMaxHeadBytes = 8192;
inline constexpr qsizetype kMaxBodyBytes = 4096;

// `searched` is what the last parse of the same request, with fewer bytes, said.
HttpParse parseHttpRequest(QByteArrayView buffered, qsizetype searched = 0);

// Whether a valid Host header names this server: one of `names` (compared without letter
// case), with or without a port. A name nobody here answers to is how a web page that rebinds its
// own name to this address would arrive.
bool hostNamesThisServer(QByteArrayView host, const QList<QByteArray>& names);
