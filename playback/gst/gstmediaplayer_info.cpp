#include "playback/gst/gstmediaplayer.h"
#include "playback/gst/gstmediaplayer_p.h"

#include <gst/gst.h>

namespace orvane::playback::gst {

QString GstMediaPlayer::mediaInfoString(int code) const
{
    const AsxEntry entry = m_asx.entries.value(m_entry - 1);
    QString fromEntry;
    QList<const char *> tags;
    QString fromPlaylist;
    switch (code) {
    case InfoTitle:
        fromEntry = entry.title;
        tags = {GST_TAG_TITLE};
        fromPlaylist = m_asx.title;
        break;
    case InfoAuthor:
        fromEntry = entry.author;
        tags = {GST_TAG_ARTIST, GST_TAG_ALBUM_ARTIST, GST_TAG_COMPOSER};
        fromPlaylist = m_asx.author;
        break;
    case InfoCopyright:
        fromEntry = entry.copyright;
        tags = {GST_TAG_COPYRIGHT};
        fromPlaylist = m_asx.copyright;
        break;
    case InfoDescription:
        fromEntry = entry.abstract;
        tags = {GST_TAG_DESCRIPTION, GST_TAG_COMMENT};
        fromPlaylist = m_asx.abstract;
        break;
    case InfoAlbum:
        tags = {GST_TAG_ALBUM};
        break;
    default:
        return {};
    }
    if (!fromEntry.isEmpty())
        return fromEntry;
    for (const char *tag : tags) {
        const QString value = tagString(m_tags, tag);
        if (!value.isEmpty())
            return value;
    }
    return fromPlaylist;
}

QString GstMediaPlayer::codecDescription(int codec) const
{
    return m_codecs.value(codec - 1);
}

void GstMediaPlayer::showDialog(int which)
{
    if (which != DialogStatistics && which != DialogOptions)
        return;
    QMetaObject::invokeMethod(
        this, [this, which] { Q_EMIT dialogRequested(which); }, Qt::QueuedConnection);
}

void GstMediaPlayer::aboutBox()
{
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT dialogRequested(DialogAbout); }, Qt::QueuedConnection);
}

EngineReport GstMediaPlayer::report(int which) const
{
    EngineReport out;
    auto yesNo = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
    auto row = [&out](const char *label, const QString &value) {
        out.rows.append({QString::fromLatin1(label), value});
    };
    switch (which) {
    case DialogStatistics: {
        out.title = QStringLiteral("Statistics");
        row("Location", m_fileName);
        row("State", playStateName(m_state));
        row("Position", QString::number(currentPosition(), 'f', 2) + QStringLiteral(" s"));
        row("Length", m_durationValid ? QString::number(m_duration, 'f', 2) + QStringLiteral(" s")
                                      : QStringLiteral("unknown"));
        row("Codecs", m_codecs.join(QStringLiteral(", ")));
        if (m_videoSize.isValid())
            row("Picture",
                QStringLiteral("%1 x %2").arg(m_videoSize.width()).arg(m_videoSize.height()));
        if (m_entry > 0)
            row("Entry", QStringLiteral("%1 of %2").arg(m_entry).arg(m_asx.entries.size()));
        if (m_videoSink) {
            GstStructure *stats = nullptr;
            g_object_get(m_videoSink, "stats", &stats, nullptr);
            guint64 rendered = 0;
            guint64 dropped = 0;
            if (stats) {
                gst_structure_get_uint64(stats, "rendered", &rendered);
                gst_structure_get_uint64(stats, "dropped", &dropped);
                gst_structure_free(stats);
            }
            row("Frames shown", QString::number(rendered));
            row("Frames dropped", QString::number(dropped));
        }
        if (m_hasError)
            row("Last error", m_errorDescription);
        break;
    }
    case DialogOptions:
        out.title = QStringLiteral("Options");
        row("Audio output", !m_options.audioSink.isEmpty()
                                ? m_options.audioSink
                                : envOr("ORVANE_GST_AUDIO_SINK", QStringLiteral("autoaudiosink")));
        row("Video output", m_videoSink ? QStringLiteral("X11 window") : QStringLiteral("none"));
        row("Open time limit",
            QString::number(m_openTimer.interval() / 1000.0) + QStringLiteral(" s"));
        row("Start automatically", yesNo(m_autoStart));
        row("Rewind at the end", yesNo(m_autoRewind));
        row("Fit window to clip", yesNo(m_autoSize));
        row("Muted", yesNo(m_muted));
        break;
    default: {
        out.title = QStringLiteral("About the media engine");
        gchar *version = gst_version_string();
        row("Engine", QStringLiteral("Orvane media engine on GStreamer playbin"));
        row("Version", QString::fromUtf8(version));
        g_free(version);
        break;
    }
    }
    return out;
}

} // namespace orvane::playback::gst
