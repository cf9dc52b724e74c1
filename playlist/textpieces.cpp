#include "playlist/textpieces.h"

#include "core/textcodec.h"

#include <QIODevice>

#include <algorithm>
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
        // Read straight behind what is left, no more than the device holds.
        const qsizetype want =
            qsizetype(std::clamp<qint64>(m_device.bytesAvailable(), 1, kPieceBytes));
        const qsizetype kept = m_carry.size();
        m_carry.resize(kept + want);
        const qint64 got = m_device.read(m_carry.data() + kept, want);
        m_carry.resize(kept + qsizetype(std::max<qint64>(got, 0)));
        if (got <= 0) {
            bytes = std::exchange(m_carry, {});
            return !bytes.isEmpty();
        }
    }
}

} // namespace orvane::playlist
