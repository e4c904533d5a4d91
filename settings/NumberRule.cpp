#include "NumberRule.h"

#include <QLocale>

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace {

QByteArray withoutAnyBlank(const QByteArray& text)
{
    QByteArray kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            kept.append(c);
    }
    return kept;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base)
{
    int v = -1;
    if (isDigit(c))
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

double parseRadix(const QByteArray& digits, int base)
{
    double value = 0;
    for (char c : digits) {
        const int d = digitValue(c, base);
        if (d < 0)
            break;
        value = value * base + d;
    }
    return value;
}

// The longest prefix of s that reads as [sign] digits [. digits] [E [sign] digits].
qsizetype decimalPrefixLength(const QByteArray& s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    qsizetype mantissaDigits = 0;
    while (i < n && isDigit(s[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        const qsizetype expStart = j;
        while (j < n && isDigit(s[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

// Only a number beyond the double range fails to convert. Tiny ones (a zero mantissa, a large
// negative exponent) are zero; huge ones are infinite, so that the caller's range check
// rejects them.
double beyondRange(const QByteArray& number)
{
    const qsizetype e = std::max(number.indexOf('E'), number.indexOf('e'));
    const QByteArray mantissa = e < 0 ? number : number.left(e);
    const bool zero = std::none_of(
        mantissa.begin(), mantissa.end(), [](char c) { return c >= '1' && c <= '9'; });
    const bool negative = number.startsWith('-');
    if (zero || (e >= 0 && number.at(e + 1) == '-'))
        return negative ? -0.0 : 0.0;
    return negative ? -HUGE_VAL : HUGE_VAL;
}

}

double parseNumber(const QByteArray& text)
{
    const QByteArray s = withoutAnyBlank(text);
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = s[1];
        if (kind == 'H' || kind == 'h')
            return parseRadix(s.mid(2), 16);
        if (kind == 'O' || kind == 'o')
            return parseRadix(s.mid(2), 8);
        return 0;
    }
    const qsizetype len = decimalPrefixLength(s);
    if (len == 0)
        return 0;
    bool ok = false;
    const double value = QLocale::c().toDouble(QLatin1StringView(s.left(len)), &ok);
    if (ok)
        return value;
    return beyondRange(s.left(len));
}

std::optional<qint16> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}
