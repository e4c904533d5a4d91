#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QByteArray trimmed(const QByteArray& text)
{
    return text.trimmed();
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return trimmed(a).compare(trimmed(b), Qt::CaseInsensitive) == 0;
}

// "[name]" (blanks allowed around), giving the name; anything else is not a header.
std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1);
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
        file.m_writable = false;
        return file;
    }
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        file.m_writable = false;
        return file;
    }
    const QList<QByteArray> parts = data.split('\n');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        if (last && parts[i].isEmpty())
            break; // the file ended with a line feed
        file.m_lines.append({ parts[i], !last });
    }
    return file;
}

ProfileFile::Span ProfileFile::findSection(const QByteArray& section) const
{
    Span span;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
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
        const QByteArray& text = m_lines[i].text;
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
    QByteArray text = m_lines[*at].text;
    if (text.endsWith('\r'))
        text.chop(1);
    return text.mid(text.indexOf('=') + 1);
}

QByteArray ProfileFile::newline() const
{
    // New lines follow the file's own convention, taken from its first line.
    return (!m_lines.isEmpty() && m_lines.first().text.endsWith('\r')) ? QByteArray("\r")
                                                                       : QByteArray();
}

void ProfileFile::appendLine(const QByteArray& text)
{
    if (!m_lines.isEmpty())
        m_lines.last().hasNewline = true;
    m_lines.append({ text + newline(), true });
}

void ProfileFile::insertLine(qsizetype at, const QByteArray& text)
{
    if (at == m_lines.size()) {
        appendLine(text);
        return;
    }
    m_lines.insert(at, { text + newline(), true });
}

void ProfileFile::setValue(
    const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const Span span = findSection(section);
    if (span.header < 0) {
        appendLine('[' + section + ']');
        appendLine(key + '=' + value);
        return;
    }
    if (const auto at = findKey(span, key)) {
        Line& line = m_lines[*at];
        const bool cr = line.text.endsWith('\r');
        line.text = line.text.left(line.text.indexOf('=') + 1) + value + (cr ? "\r" : "");
        return;
    }
    // A new key goes after the section's last non-blank line, before any blank separator.
    qsizetype at = span.end;
    while (at > span.header + 1 && trimmed(m_lines[at - 1].text).isEmpty())
        --at;
    insertLine(at, key + '=' + value);
}

QByteArray ProfileFile::contents() const
{
    QByteArray out;
    for (const Line& line : m_lines) {
        out += line.text;
        if (line.hasNewline)
            out += '\n';
    }
    return out;
}

bool ProfileFile::save() const
{
    if (!m_writable)
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
