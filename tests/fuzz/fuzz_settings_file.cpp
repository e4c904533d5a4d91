// Any file as the settings file: reading it then saving it must keep every line the oracle does
// not own, save what it read so that it reads back the same, and a second save changes nothing.

#include "../fakes/FileContents.h"
#include "Settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void spill(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        std::abort();
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "settings file fuzz: %s\n", what);
    std::abort();
}

bool sameValues(const SettingsValues& a, const SettingsValues& b)
{
    return a.voz[0] == b.voz[0] && a.voz[1] == b.voz[1] && a.voz[2] == b.voz[2]
        && a.idioma == b.idioma;
}

// The file's lines without their ends (CR LF, LF or a lone CR), as UTF-16LE text after that
// byte-order mark (a dangling last byte as one character), else as 8-bit text.
QStringList linesOf(const QByteArray& data)
{
    QString text;
    if (data.startsWith("\xFF\xFE")) {
        for (qsizetype i = 2; i < data.size(); i += 2) {
            const uchar high = i + 1 < data.size() ? uchar(data[i + 1]) : 0;
            text.append(QChar(char16_t(uchar(data[i]) | high << 8)));
        }
    } else {
        text = QString::fromLatin1(data);
    }
    // By hand: a regular expression refuses text with lone surrogates.
    QStringList lines { QString() };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            lines.last().append(c);
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        lines.append(QString());
    }
    return lines;
}

// A line that holds "key=" may come back with another value; every other line comes back
// unchanged, in the same order, in the same encoding.
bool survives(const QByteArray& before, const QByteArray& after)
{
    if (before.startsWith("\xFF\xFE") != after.startsWith("\xFF\xFE"))
        return false;
    const QStringList old = linesOf(before);
    const QStringList now = linesOf(after);
    qsizetype j = 0;
    for (const QString& line : old) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString keyPart = line.left(eq + 1);
        while (j < now.size() && now[j] != line && !(eq > 0 && now[j].startsWith(keyPart)))
            ++j;
        if (j == now.size())
            return false;
        ++j;
    }
    return true;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fuzz-settings-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("oraculo.ini"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    spill(path, input);

    SettingsValues read;
    le_ini(read, path);
    salva_ini(read, path);
    const QByteArray first = fileContents(path);
    if (!survives(input, first))
        fail("a line the oracle does not own was lost");

    SettingsValues again;
    le_ini(again, path);
    if (!sameValues(read, again))
        fail("saved values read back differently");

    salva_ini(again, path);
    if (fileContents(path) != first)
        fail("a second save changed the file");
    return 0;
}
