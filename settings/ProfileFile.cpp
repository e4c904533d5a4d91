#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

const QByteArray kUtf16LeMark("\xFF\xFE");

QByteArray trimmed(const QByteArray& text)
{
    return text.trimmed();
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return trimmed(a).compare(trimmed(b), Qt::CaseInsensitive) == 0;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

QByteArray withoutQuotes(const QByteArray& text)
{
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'')
        && text.back() == text.front();
    return quoted ? text.mid(1, text.size() - 2) : text;
}

// "[name]" (blanks allowed around), giving the name; "[name" alone gives the rest of the line.
// Anything else is not a header.
std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    return close < 0 ? t.mid(1) : t.mid(1, close - 1);
}

}

ProfileFile ProfileFile::load(const QString& path)
{
    ProfileFile file;
    file.m_path = path;
    const QFileInfo info(path);
    if (!info.exists())
        return file;
    QFile in(path);
    if (info.isDir() || !in.open(QIODevice::ReadOnly)) {
        file.m_readable = false;
        return file;
    }
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        file.m_readable = false;
        return file;
    }
    file.split(data);
    return file;
}

void ProfileFile::split(const QByteArray& raw)
{
    QByteArray data = raw;
    qsizetype at = 0;
    if (data.startsWith(kUtf16LeMark)) {
        m_mark = kUtf16LeMark;
        m_unit = 2;
        at = m_mark.size();
        // Cut inside its last character: read, and saved, as if the missing half were zero, so
        // that what a save appends stays aligned.
        if (data.size() % 2 != 0)
            data.append('\0');
    }
    // The character at byte i when it is one of the 8-bit ones, else 0.
    const auto charAt = [&](qsizetype i) -> char {
        if (i + m_unit > data.size())
            return 0;
        return (m_unit == 1 || data[i + 1] == 0) ? data[i] : 0;
    };
    qsizetype start = at;
    while (at + m_unit <= data.size()) {
        const char c = charAt(at);
        if (c != '\r' && c != '\n') {
            at += m_unit;
            continue;
        }
        qsizetype next = at + m_unit;
        if (c == '\r' && charAt(next) == '\n')
            next += m_unit;
        m_lines.append({ data.mid(start, at - start), data.mid(at, next - at) });
        start = at = next;
    }
    if (start < data.size())
        m_lines.append({ data.mid(start), {} });
}

QByteArray ProfileFile::narrow(const QByteArray& raw) const
{
    if (m_unit == 1)
        return raw;
    QByteArray text;
    text.reserve(raw.size() / 2);
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
        text.append(raw[i + 1] == 0 ? raw[i] : '?');
    return text;
}

QByteArray ProfileFile::widen(const QByteArray& text) const
{
    if (m_unit == 1)
        return text;
    QByteArray raw;
    raw.reserve(text.size() * 2);
    for (char c : text) {
        raw.append(c);
        raw.append('\0');
    }
    return raw;
}

ProfileFile::Span ProfileFile::findSection(const QByteArray& section) const
{
    Span span;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(narrow(m_lines[i].text));
        if (!name)
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (sameName(*name, section))
            span.header = i;
    }
    span.end = m_lines.size();
    return span;
}

std::optional<qsizetype> ProfileFile::findKey(const Span& span, const QByteArray& key) const
{
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const QByteArray text = narrow(m_lines[i].text);
        const qsizetype eq = text.indexOf('=');
        if (eq > 0 && sameName(text.left(eq), key))
            return i;
    }
    return std::nullopt;
}

std::optional<QByteArray> ProfileFile::value(const QByteArray& section, const QByteArray& key) const
{
    const Span span = findSection(section);
    if (span.header < 0)
        return std::nullopt;
    const auto at = findKey(span, key);
    if (!at)
        return std::nullopt;
    const QByteArray text = narrow(m_lines[*at].text);
    return withoutQuotes(trimBlanks(text.mid(text.indexOf('=') + 1)));
}

// A new line ends like the lines around it: the nearest ended line above `at`, else below,
// else (a file of one unended line, or none) with a line feed.
QByteArray ProfileFile::lineEndNear(qsizetype at) const
{
    for (qsizetype i = std::min(at, m_lines.size()) - 1; i >= 0; --i) {
        if (!m_lines[i].end.isEmpty())
            return m_lines[i].end;
    }
    for (qsizetype i = at; i < m_lines.size(); ++i) {
        if (!m_lines[i].end.isEmpty())
            return m_lines[i].end;
    }
    return widen("\n");
}

void ProfileFile::endLastLine()
{
    if (m_lines.isEmpty() || !m_lines.last().end.isEmpty())
        return;
    m_lines.last().end = lineEndNear(m_lines.size() - 1);
}

void ProfileFile::insertLine(qsizetype at, const QByteArray& text)
{
    if (at == m_lines.size())
        endLastLine();
    m_lines.insert(at, { widen(text), lineEndNear(at) });
}

void ProfileFile::setValue(
    const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const Span span = findSection(section);
    if (span.header < 0) {
        insertLine(m_lines.size(), '[' + section + ']');
        insertLine(m_lines.size(), key + '=' + value);
        return;
    }
    if (const auto at = findKey(span, key)) {
        Line& line = m_lines[*at];
        const qsizetype eq = narrow(line.text).indexOf('=');
        line.text = line.text.left((eq + 1) * m_unit) + widen(value);
        return;
    }
    // A new key goes after the section's last non-blank line, before any blank separator.
    qsizetype at = span.end;
    while (at > span.header + 1 && trimmed(narrow(m_lines[at - 1].text)).isEmpty())
        --at;
    insertLine(at, key + '=' + value);
}

QByteArray ProfileFile::contents() const
{
    QByteArray out = m_mark;
    for (const Line& line : m_lines)
        out += line.text + line.end;
    return out;
}

bool ProfileFile::save() const
{
    if (!m_readable)
        return false;
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = contents();
    // The data sits in the device's buffer until flushed: only the flush meets a full disk, and
    // a commit after a failed flush would rename the truncated file over the old one.
    if (out.write(data) != data.size() || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
