#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// An INI-style profile file kept as its raw lines, so that a save changes only the values it
// was asked to change and every byte it does not own (other sections, comments, odd lines,
// line endings) survives. Section and key names match without regard to letter case; with
// duplicates, the first section and the first key win.
class ProfileFile {
public:
    // A missing file reads as empty. A file that exists but cannot be read (a directory,
    // no permission) reads as empty too and refuses to be saved over.
    static ProfileFile load(const QString& path);

    // The value text after "=", or nothing when the section or the key is missing.
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // Replaces the value of the key in place, or adds the key (and the section) when missing.
    void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);

    // Writes a temporary file beside the target and renames it over the target, so a crash or
    // a full disk never leaves a torn file. False when nothing was written.
    bool save() const;

    QByteArray contents() const;

private:
    struct Line {
        QByteArray text; // without the line feed; a carriage return stays part of it
        bool hasNewline = true;
    };
    struct Span {
        qsizetype header = -1; // index of the "[section]" line, -1 when missing
        qsizetype end = 0; // one past its last line
    };

    Span findSection(const QByteArray& section) const;
    std::optional<qsizetype> findKey(const Span& span, const QByteArray& key) const;
    QByteArray newline() const;
    void appendLine(const QByteArray& text);
    void insertLine(qsizetype at, const QByteArray& text);

    QString m_path;
    QList<Line> m_lines;
    bool m_writable = true;
};
