#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

class QIODevice;

namespace orvane::playlist {

// A text file decoded piece by piece, each piece ending at a line end, so a
// large playlist is never held twice (bytes and text) in memory. The file
// is UTF-8 when all its bytes are (a BOM is dropped), else CP932 (decoded
// whole: files of the Windows program are small).
class TextPieces
{
public:
    // Reads the device once to choose the encoding, then from its start.
    explicit TextPieces(QIODevice &device);

    bool next(QString &piece);
    // At most this many lines, as far as the encoding check read (0: unknown).
    qsizetype lineCountHint() const { return m_utf8 ? m_lines : 0; }

private:
    bool nextBytes(QByteArray &bytes);

    QIODevice &m_device;
    QByteArray m_carry;
    QStringDecoder m_decoder;
    bool m_utf8 = true;
    bool m_first = true;
    qsizetype m_lines = 0;
};

} // namespace orvane::playlist
