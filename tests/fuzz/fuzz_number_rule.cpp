// Any text as a settings value: the number rule must give a number (never NaN), agree with the
// C library on plain decimal numbers, and rounding must stay within half of the value.

#include "NumberRule.h"

#include <QByteArray>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& text)
{
    std::fprintf(stderr, "number rule fuzz: %s for \"%s\"\n", what, text.constData());
    std::abort();
}

QByteArray withoutAnyBlank(QByteArray text)
{
    text.replace(' ', "").replace('\t', "").replace('\n', "");
    return text;
}

// A well-formed decimal number on its own, read by strtod as reference.
void checkAgainstStrtod(const QByteArray& text, double value)
{
    static const QRegularExpression plain(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QByteArray s = withoutAnyBlank(text);
    if (s.contains('\0') || !plain.match(QString::fromLatin1(s)).hasMatch())
        return;
    // The program only ever keeps the rounded value: compare that.
    const double reference = std::strtod(s.constData(), nullptr);
    if (roundToInt16(value) != roundToInt16(reference))
        fail("differs from strtod", text);
}

void checkRounding(const QByteArray& text, double value)
{
    const auto n = roundToInt16(value);
    if (!n) {
        if (std::isfinite(value) && std::fabs(value) < 32767.5)
            fail("in-range value refused", text);
        return;
    }
    if (std::fabs(double(*n) - value) > 0.5)
        fail("rounded too far", text);
    if (std::fabs(double(*n) - value) == 0.5 && *n % 2 != 0)
        fail("half not rounded to even", text);
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const double value = parseNumber(text);
    if (std::isnan(value))
        fail("not a number", text);
    if (parseNumber(text + '\x01') != value)
        fail("a trailing non-number character changed the value", text);
    checkAgainstStrtod(text, value);
    checkRounding(text, value);
    return 0;
}
