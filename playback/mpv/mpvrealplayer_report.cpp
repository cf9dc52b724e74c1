#include "playback/mpv/mpvrealplayer.h"

#include "playback/mpv/mpvlibrary.h"

namespace orvane::playback::mpv {

QString MpvRealPlayer::statisticsText() const
{
    if (m_activeId == kNoId || !m_opened)
        return QStringLiteral("No clip is open.");
    // A QString, not auto: a QStringBuilder would outlive the value it refers to.
    auto line = [this](const char *label, const char *property) -> QString {
        const QVariant value = getProperty(property);
        return QLatin1String(label) + QStringLiteral(": ") +
               (value.isValid() ? value.toString() : QStringLiteral("-")) + QLatin1Char('\n');
    };
    return line("Audio codec", "audio-codec-name") + line("Audio bit rate", "audio-bitrate") +
           line("Video codec", "video-codec") + line("Video bit rate", "video-bitrate") +
           line("Frames dropped", "frame-drop-count") + line("Format", "file-format");
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
