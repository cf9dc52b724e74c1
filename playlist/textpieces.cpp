#include "playlist/textpieces.h"

#include "core/textcodec.h"

#include <QIODevice>

#include <utility>

namespace orvane::playlist {

namespace {

constexpr qsizetype kPieceBytes = 256 * 1024;
constexpr auto kDecoderFlags =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

} // namespace

TextPieces::TextPieces(QIODevice &device)
    : m_device(device)
    , m_decoder(QStringDecoder::Utf8, kDecoderFlags)
{
    QStringDecoder check(QStringDecoder::Utf8, kDecoderFlags);
    QList<QChar> scratch;
    QByteArray bytes;
    while (m_utf8 && nextBytes(bytes)) {
        scratch.resize(bytes.size());
        check.appendToBuffer(scratch.data(), bytes);
        m_utf8 = !check.hasError();
        m_lines += bytes.count('\n') + 1;
    }
    m_carry.clear();
    m_device.seek(0);
}

bool TextPieces::next(QString &piece)
{
    if (!m_utf8) {
        if (!std::exchange(m_first, false))
            return false;
        piece = core::decodeText(m_device.readAll()).text;
        return true;
    }
    QByteArray bytes;
    if (!nextBytes(bytes))
        return false;
    piece = m_decoder.decode(bytes);
    if (std::exchange(m_first, false) && piece.startsWith(QChar(0xFEFF)))
        piece.remove(0, 1);
    return true;
}

bool TextPieces::nextBytes(QByteArray &bytes)
{
    while (true) {
        const qsizetype lineEnd = m_carry.lastIndexOf('\n');
        if (lineEnd >= 0 && m_carry.size() >= kPieceBytes) {
            bytes = m_carry.left(lineEnd + 1);
            m_carry.remove(0, lineEnd + 1);
            return true;
        }
        const QByteArray more = m_device.read(kPieceBytes);
        if (more.isEmpty()) {
            bytes = std::exchange(m_carry, {});
            return !bytes.isEmpty();
        }
        m_carry += more;
    }
}

} // namespace orvane::playlist
