#include "playback/gst/gstmediaplayer.h"
#include "playback/gst/gstmediaplayer_p.h"

#include <gst/gst.h>
#include <gst/pbutils/missing-plugins.h>
#include <gst/video/video.h>
#include <gst/video/videooverlay.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace orvane::playback::gst {

namespace {

// remote: a stream that has not opened yet; its source often reports no
// more than a failed data flow when the server cannot be reached.
qint32 errorCodeFor(const GError *error, bool remote, bool missingPlugin)
{
    if (missingPlugin)
        return MediaPlayer::ErrorUnsupported;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorFileNotFound;
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return MediaPlayer::ErrorAccessDenied;
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_READ:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorAccessDenied;
        default:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorEngine;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
            return MediaPlayer::ErrorNotMediaFile;
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        case GST_STREAM_ERROR_FORMAT:
            return MediaPlayer::ErrorUnsupported;
        default:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorDecode;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return MediaPlayer::ErrorUnsupported;
    return MediaPlayer::ErrorEngine;
}

void collectChapters(GList *entries, QList<double> &starts, int depth)
{
    for (GList *item = entries; item && depth < 8; item = item->next) {
        auto *entry = static_cast<GstTocEntry *>(item->data);
        if (gst_toc_entry_get_entry_type(entry) == GST_TOC_ENTRY_TYPE_CHAPTER) {
            gint64 start = -1;
            gint64 stop = -1;
            if (gst_toc_entry_get_start_stop_times(entry, &start, &stop) && start >= 0)
                starts.append(double(start) / kNanosPerSecond);
        }
        collectChapters(gst_toc_entry_get_sub_entries(entry), starts, depth + 1);
    }
}

} // namespace

QString tagString(const GstTagList *tags, const char *tag)
{
    if (!tags)
        return {};
    gchar *value = nullptr;
    if (!gst_tag_list_get_string(tags, tag, &value))
        return {};
    QString text = QString::fromUtf8(value).trimmed();
    g_free(value);
    return text;
}

GstBusSyncReply BusRelay::onMessage(GstBus *, GstMessage *message, gpointer data)
{
    auto *relay = static_cast<BusRelay *>(data);
    // The sink asks for its window whenever it comes up from READY; it
    // must be answered here, on the asking thread, before it goes on.
    if (relay->windowHandle && gst_is_video_overlay_prepare_window_handle_message(message)) {
        gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)),
                                            relay->windowHandle);
        return GST_BUS_DROP;
    }
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_WARNING:
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_TAG:
    case GST_MESSAGE_TOC:
    case GST_MESSAGE_DURATION_CHANGED:
    case GST_MESSAGE_BUFFERING:
    case GST_MESSAGE_STREAM_START:
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) != GST_OBJECT_CAST(relay->pipeline))
            return GST_BUS_DROP;
        break;
    case GST_MESSAGE_ELEMENT:
        if (!gst_is_missing_plugin_message(message))
            return GST_BUS_DROP;
        break;
    default:
        return GST_BUS_DROP;
    }
    const quint64 generation = relay->generation.load(std::memory_order_acquire);
    std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
    GstMediaPlayer *target = relay->target;
    QMetaObject::invokeMethod(
        target, [target, held, generation] { target->handleBusMessage(held.get(), generation); },
        Qt::QueuedConnection);
    return GST_BUS_DROP;
}

void GstMediaPlayer::handleBusMessage(GstMessage *message, quint64 generation)
{
    if (generation != m_generation || m_uri.isEmpty())
        return;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        m_seekTarget = -1.0; // a seek, if one was under way, has landed
        if (!m_prerolled)
            onPrerolled();
        else if (m_joining)
            onRealOutputsJoined();
        // A sink that went through READY forgets the window's size.
        videoWindowExposed();
        break;
    case GST_MESSAGE_EOS:
        onEndOfStream();
        break;
    case GST_MESSAGE_STREAM_START:
        onStreamStart();
        break;
    case GST_MESSAGE_ERROR:
        onError(message);
        break;
    case GST_MESSAGE_WARNING:
        onWarning(message);
        break;
    case GST_MESSAGE_TAG: {
        GstTagList *tags = nullptr;
        gst_message_parse_tag(message, &tags);
        if (!m_tags)
            m_tags = gst_tag_list_new_empty();
        gst_tag_list_insert(m_tags, tags, GST_TAG_MERGE_KEEP);
        gst_tag_list_unref(tags);
        break;
    }
    case GST_MESSAGE_TOC:
        onToc(message);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        if (m_prerolled)
            readDuration();
        break;
    case GST_MESSAGE_BUFFERING: {
        gint percent = 100;
        gst_message_parse_buffering(message, &percent);
        onBuffering(percent);
        break;
    }
    case GST_MESSAGE_ELEMENT: {
        gchar *what = gst_missing_plugin_message_get_description(message);
        m_missingPlugin = QString::fromUtf8(what ? what : "");
        g_free(what);
        break;
    }
    default:
        break;
    }
}

void GstMediaPlayer::onWarning(GstMessage *message)
{
    GError *error = nullptr;
    gst_message_parse_warning(message, &error, nullptr);
    QString text = QString::fromUtf8(error ? error->message : "");
    g_clear_error(&error);
    if (text.isEmpty() && !m_missingPlugin.isEmpty())
        text = QStringLiteral("No decoder is installed for a stream of this media: ") +
               m_missingPlugin;
    if (text.isEmpty())
        text = QStringLiteral("A part of the media cannot be played.");
    // Playback goes on; say so once per media, not per buffer. Before the
    // media opened, wait: an error that ends the open may follow, and then
    // the warning is only noise.
    if (text == m_lastWarning || m_pendingWarnings.contains(text))
        return;
    if (m_prerolled) {
        m_lastWarning = text;
        raiseError(WarningRecoverable, text, false);
    } else {
        m_pendingWarnings.append(text);
    }
}

// Markers are the chapters of the media's table of contents.
void GstMediaPlayer::onToc(GstMessage *message)
{
    GstToc *toc = nullptr;
    gst_message_parse_toc(message, &toc, nullptr);
    QList<double> starts;
    collectChapters(gst_toc_get_entries(toc), starts, 0);
    gst_toc_unref(toc);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    m_markers = starts;
}

void GstMediaPlayer::onPrerolled()
{
    m_prerolled = true;
    m_openTimer.stop();
    readDuration();
    readStreams();
    updatePictureSize();
    if (m_autoSize && m_window && m_videoSize.isValid())
        m_window->resize(m_videoSize);
    videoWindowExposed();
    for (const QString &warning : std::exchange(m_pendingWarnings, {})) {
        m_lastWarning = warning;
        raiseError(WarningRecoverable, warning, false);
    }
    if (m_state == Closed) {
        setState(Stopped);
        if (m_autoStart)
            m_target = Target::Playing;
    }
    if (m_target == Target::Playing) {
        if (m_realOutputsIn)
            gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        else
            joinRealOutputs();
        setState(Playing);
    }
}

void GstMediaPlayer::onEndOfStream()
{
    if (!m_prerolled)
        return;
    ++m_playsDone;
    const bool again = m_playCount == 0 || m_playsDone < m_playCount;
    if (m_target == Target::Playing && again) {
        if (m_canSeek) {
            seekTo(0.0);
        } else {
            // A stream that cannot seek starts over from its beginning.
            gst_element_set_state(m_playbin, GST_STATE_READY);
            gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        }
        return;
    }
    m_target = Target::Stopped;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    m_atEnd = true;
    if (m_autoRewind && m_canSeek)
        seekTo(0.0);
    setState(Stopped);
}

void GstMediaPlayer::onError(GstMessage *message)
{
    qint32 code = ErrorEngine;
    QString description = QStringLiteral("The media cannot be played.");
    if (message) {
        GError *error = nullptr;
        gchar *debug = nullptr;
        gst_message_parse_error(message, &error, &debug);
        if (error) {
            const bool remote = !m_prerolled && !m_uri.startsWith(QStringLiteral("file:"));
            code = errorCodeFor(error, remote, !m_missingPlugin.isEmpty());
            description = QString::fromUtf8(error->message);
        }
        qCDebug(lcGst) << "error from" << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << description
                       << debug;
        g_clear_error(&error);
        g_free(debug);
    }
    if (!m_missingPlugin.isEmpty())
        description = QStringLiteral("No decoder is installed for this media: ") + m_missingPlugin;
    m_openTimer.stop();
    m_handed.clear();
    // READY is not enough after an error: playbin can keep a failed
    // typefinder that then answers for the next location too.
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    if (!m_prerolled && m_entry > 0 && m_ref + 1 < m_asx.entries.value(m_entry - 1).refs.size()) {
        // An entry's further references are its alternatives.
        ++m_ref;
        openRef();
        return;
    }
    if (m_prerolled) {
        m_needsRestart = true;
    } else {
        m_uri.clear();
    }
    m_target = Target::Stopped;
    raiseError(code, description, true);
    if (m_state != Closed)
        setState(Stopped);
}

void GstMediaPlayer::onBuffering(int percent)
{
    if (!m_prerolled || m_target != Target::Playing)
        return;
    if (percent < 100 && m_state == Playing) {
        gst_element_set_state(m_playbin, GST_STATE_PAUSED);
        setState(Waiting);
    } else if (percent >= 100 && m_state == Waiting) {
        gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        setState(Playing);
    }
}

void GstMediaPlayer::readDuration()
{
    gint64 length = -1;
    if (gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &length) && length > 0) {
        m_duration = double(length) / kNanosPerSecond;
        m_durationValid = true;
    }
    GstQuery *query = gst_query_new_seeking(GST_FORMAT_TIME);
    if (gst_element_query(m_playbin, query)) {
        gboolean seekable = FALSE;
        gst_query_parse_seeking(query, nullptr, &seekable, nullptr, nullptr);
        m_canSeek = seekable;
    }
    gst_query_unref(query);
}

void GstMediaPlayer::readStreams()
{
    m_codecs.clear();
    struct Kind {
        const char *count;
        const char *tagsSignal;
        const char *codecTag;
        const char *unknown;
    };
    const Kind kinds[] = {
        {"n-audio", "get-audio-tags", GST_TAG_AUDIO_CODEC, "audio"},
        {"n-video", "get-video-tags", GST_TAG_VIDEO_CODEC, "video"},
    };
    for (const Kind &kind : kinds) {
        gint count = 0;
        g_object_get(m_playbin, kind.count, &count, nullptr);
        for (gint i = 0; i < count; ++i) {
            GstTagList *tags = nullptr;
            g_signal_emit_by_name(m_playbin, kind.tagsSignal, i, &tags);
            QString codec = tagString(tags, kind.codecTag);
            if (codec.isEmpty())
                codec = tagString(tags, GST_TAG_CODEC);
            if (codec.isEmpty())
                codec = QStringLiteral("Unknown %1 codec").arg(QLatin1StringView(kind.unknown));
            if (tags)
                gst_tag_list_unref(tags);
            m_codecs.append(codec);
        }
    }
    GstPad *pad = nullptr;
    g_signal_emit_by_name(m_playbin, "get-video-pad", 0, &pad);
    if (pad) {
        if (GstCaps *caps = gst_pad_get_current_caps(pad)) {
            GstVideoInfo info;
            if (gst_video_info_from_caps(&info, caps) && info.width > 0 && info.height > 0) {
                const int parN = qMax(1, info.par_n);
                const int parD = qMax(1, info.par_d);
                m_videoSize = QSize(int(qint64(info.width) * parN / parD), info.height);
            }
            gst_caps_unref(caps);
        }
        gst_object_unref(pad);
    }
}

} // namespace orvane::playback::gst
