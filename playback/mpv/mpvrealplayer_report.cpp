#include "playback/mpv/mpvrealplayer.h"
#include "playback/mpv/mpvrealplayer_p.h"

#include "playback/mpv/mpvlibrary.h"

namespace orvane::playback::mpv {

// From the values libmpv last reported: the statistics box may ask while
// libmpv is busy, and must not wait for it.
QString MpvRealPlayer::statisticsText() const
{
    if (m_activeId == kNoId || !m_opened)
        return QStringLiteral("No clip is open.");
    QString text;
    for (int i = 0; i < kStatisticCount; ++i) {
        const QVariant value = m_statistics.value(i);
        text += QLatin1String(kStatisticLines[i].label) + QStringLiteral(": ") +
                (value.isValid() ? value.toString() : QStringLiteral("-")) + QLatin1Char('\n');
    }
    return text;
}

QString MpvRealPlayer::preferencesText() const
{
    return QStringLiteral("Audio output: %1\nVideo output: %2\nNetwork timeout: %3 s")
        .arg(m_ao.isEmpty() ? QStringLiteral("auto") : m_ao, m_vo)
        .arg(m_options.networkTimeoutSeconds);
}

QString MpvRealPlayer::aboutText() const
{
    const unsigned long version = lib::client_api_version();
    return QStringLiteral("RealPlayer engine on libmpv (client API %1.%2)")
        .arg(version >> 16)
        .arg(version & 0xffff);
}

} // namespace orvane::playback::mpv
