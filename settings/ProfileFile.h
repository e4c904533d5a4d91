#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// An INI-style profile file kept as its raw lines, so that a save changes only the values it
// was asked to change and every byte it does not own (other sections, comments, odd lines,
// line ends, the encoding) survives. Files are read the way the Windows profile functions read
// them, because people carry these files over from Windows and edit them by hand:
// - CR LF, LF and a lone CR each end a line, mixed in one file too;
// - a file that starts with the UTF-16LE byte-order mark is UTF-16LE text; any other file is
//   8-bit text (a UTF-8 mark is just three bytes of the first line);
// - "[name" opens a section even without its closing bracket; keys before any section belong
//   to none;
// - section and key names match without regard to letter case; with duplicates, the first
//   section and the first key win.
class ProfileFile {
public:
    // A missing file reads as empty. A file that exists but cannot be read (a directory,
    // no permission) reads as empty too and refuses to be saved over.
    static ProfileFile load(const QString& path);

    // False when the file exists but could not be read.
    bool isReadable() const { return m_readable; }

    // The value text after "=", without the blanks and tabs around it and then without one
    // pair of matching outer quotes (" or '); nothing when the section or the key is missing.
    // Text comes as 8-bit characters: from a UTF-16 file, one byte per character, '?' for a
    // character beyond Latin-1.
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // Replaces what follows the key's "=" in place, or adds the key (and the section) when
    // missing. `value` is ASCII; a UTF-16 file gets it as UTF-16.
    void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);

    // Writes a temporary file beside the target and renames it over the target, so a crash or
    // a full disk never leaves a torn file. False when nothing was written.
    bool save() const;

    QByteArray contents() const;

private:
    struct Line {
        QByteArray text; // in the file's encoding, without the line end
        QByteArray end; // the line end as in the file; empty for a last line without one
    };
    struct Span {
        qsizetype header = -1; // index of the "[section]" line, -1 when missing
        qsizetype end = 0; // one past its last line
    };

    void split(const QByteArray& raw);
    QByteArray narrow(const QByteArray& raw) const;
    QByteArray widen(const QByteArray& text) const;
    Span findSection(const QByteArray& section) const;
    std::optional<qsizetype> findKey(const Span& span, const QByteArray& key) const;
    QByteArray lineEndNear(qsizetype at) const;
    void endLastLine();
    void insertLine(qsizetype at, const QByteArray& text);

    QString m_path;
    QByteArray m_mark; // the byte-order mark that made the file UTF-16LE, kept in front
    qsizetype m_unit = 1; // bytes per character: 2 in a UTF-16LE file
    QList<Line> m_lines;
    bool m_readable = true;
};
