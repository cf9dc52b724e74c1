#include "core/instancemessage.h"

#include <QStringDecoder>

#include <cstring>

namespace orvane::core {

namespace {
constexpr qsizetype kHeaderSize = 8;
}

QByteArray encodeInstanceMessage(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out(kInstanceMagic, 4);
    const quint32 n = quint32(utf8.size());
    out.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    return out + utf8;
}

InstanceMessageReader::State InstanceMessageReader::feed(const QByteArray &bytes)
{
    if (m_state != State::NeedMore) {
        if (!bytes.isEmpty())
            m_state = State::Invalid;
        return m_state;
    }
    m_buffer += bytes;
    const qsizetype magicSeen = std::min<qsizetype>(m_buffer.size(), 4);
    if (std::memcmp(m_buffer.constData(), kInstanceMagic, size_t(magicSeen)) != 0)
        return m_state = State::Invalid;
    if (m_buffer.size() < kHeaderSize)
        return m_state;
    const auto byte = [this](int i) { return quint32(quint8(m_buffer.at(i))); };
    const quint32 length = byte(4) << 24 | byte(5) << 16 | byte(6) << 8 | byte(7);
    if (length > quint32(kInstanceMaxText))
        return m_state = State::Invalid;
    const qsizetype total = kHeaderSize + qsizetype(length);
    if (m_buffer.size() < total)
        return m_state;
    if (m_buffer.size() > total)
        return m_state = State::Invalid;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    m_text = utf8.decode(QByteArrayView(m_buffer).sliced(kHeaderSize));
    if (utf8.hasError()) {
        m_text.clear();
        return m_state = State::Invalid;
    }
    m_buffer.clear();
    return m_state = State::Complete;
}

} // namespace orvane::core
