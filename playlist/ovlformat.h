#pragma once

#include "playlist/playlistitem.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace orvane::playlist::ovl {

// The ".ovl" playlist file: a header line, optional ";" comment lines, then
// one line of comma-separated fields per item. Pure text functions, so the
// format is tested and fuzzed without files.

inline const QString kHeader = QStringLiteral("Orvane Play List File Version ");
inline const QString kWrittenVersion = QStringLiteral("1.3");
inline constexpr float kCurrentVersion = 1.3f;
inline const QString kExtension = QStringLiteral(".ovl");
inline const QString kLineEnd = QStringLiteral("\r\n");

// The comment block a save may put after the header, one text per line.
const QStringList &commentLines();

// The leading number of a text (blanks, sign, digits, a decimal point, an
// exponent), 0 when there is none: "1.3abc" gives 1.3.
double leadingNumber(QStringView text);

// The version of a header line; nothing when the line is no header.
std::optional<float> headerVersion(QStringView line);

// Field escapes: CR LF (and a lone LF, which would otherwise end the line)
// become TAB, then "," becomes BACKSPACE; unescaping turns TAB into CR LF,
// then BACKSPACE into ",".
QString escapeField(const QString &text);
QString unescapeField(QStringView field);

// The item line of a record, without its line end.
QString formatItemLine(const PlayListItem &item);
void appendItemLine(QString &out, const PlayListItem &item);

// Reads an item line into item: the nine fields of old files, or all
// eleven when withDiscFields. False (item untouched) for a line with too
// few fields, a number outside its field's range or a DOPLAY that is
// neither True, False nor a number.
bool parseItemLine(QStringView line, bool withDiscFields, PlayListItem &item);

// Walks the lines of a decoded file, given whole or in pieces that end at
// line ends.
class Reader
{
public:
    // The first piece starts with the header line.
    explicit Reader(QStringView text);
    // The next piece, once next() has used up the one before.
    void continueWith(QStringView text);

    // Header present and version not newer than the writer's.
    bool accepted() const { return m_accepted; }
    float version() const { return m_version; }
    // The next item, skipping comment, empty and malformed lines.
    bool next(PlayListItem &item);
    int skippedLines() const { return m_skipped; }

private:
    std::optional<QStringView> nextLine();

    QStringView m_text;
    qsizetype m_pos = 0;
    float m_version = 0.0f;
    bool m_accepted = false;
    int m_skipped = 0;
};

} // namespace orvane::playlist::ovl
