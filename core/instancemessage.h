#pragma once

#include <QByteArray>
#include <QString>

namespace orvane::core {

// The hand-over between two instances is one message: "ORVX", the length of
// the text as four bytes (most significant first) and the text in UTF-8.
// The running instance answers "OK\n" once it has taken the text.
inline constexpr char kInstanceMagic[] = "ORVX";
inline constexpr qsizetype kInstanceMaxText = 1 << 20;
inline const QByteArray kInstanceReply = QByteArrayLiteral("OK\n");

QByteArray encodeInstanceMessage(const QString &text);

// Reads one message from bytes that arrive in pieces. Anything that is not a
// well-formed message (wrong magic, a length over the limit, invalid UTF-8,
// bytes after the end) makes it Invalid for good.
class InstanceMessageReader
{
public:
    enum class State { NeedMore, Complete, Invalid };

    State feed(const QByteArray &bytes);
    State state() const { return m_state; }
    // The text, once Complete.
    QString text() const { return m_text; }

private:
    QByteArray m_buffer;
    QString m_text;
    State m_state = State::NeedMore;
};

} // namespace orvane::core
