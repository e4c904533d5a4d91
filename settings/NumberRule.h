#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// How a settings value text becomes a number: blanks, tabs and line feeds are skipped wherever
// they stand; then the longest leading number (sign, digits with at most one decimal point,
// an optional exponent) or a "&H" hexadecimal / "&O" octal number; anything else reads as 0.
double parseNumber(const QByteArray& text);

// Nearest whole number, halves to the even neighbour; nothing when that lies outside the
// signed 16-bit range.
std::optional<qint16> roundToInt16(double value);
