#pragma once

#include <QString>
#include <QStringList>

namespace orvane::core {

// Location lists handed over by a second instance or a drop, waiting for the
// next processing step. A queue rather than one slot: a second hand-over
// that arrives before the first was taken must not replace it.
class PendingCommandQueue
{
public:
    void push(const QString &text) { m_texts.append(text); }
    bool isEmpty() const { return m_texts.isEmpty(); }
    qsizetype size() const { return m_texts.size(); }
    // The oldest text, removed; empty when nothing waits.
    QString takeOldest() { return m_texts.isEmpty() ? QString() : m_texts.takeFirst(); }
    void clear() { m_texts.clear(); }

private:
    QStringList m_texts;
};

} // namespace orvane::core
