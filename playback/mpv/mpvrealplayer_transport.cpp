#include "playback/mpv/mpvrealplayer.h"
#include "playback/mpv/mpvrealplayer_p.h"

#include "core/location.h"
#include "playback/mpv/loadfilecommand.h"
#include "playback/mpv/mpvlibrary.h"
#include "playback/mpv/realmediastream.h"
#include "playback/mpv/sourcefiles.h"

#include <QFileInfo>

#include <mpv/client.h>

namespace orvane::playback::mpv {

namespace {

// Options for one loadfile. Only a real start position: "start=0" would
// cost an extra seek.
//
// PCM containers (WAV above all) state everything in their header, yet
// libavformat distrusts PCM: it runs every format probe over the first 32
// packets of samples (about 128 KB, looking for compressed audio dressed up
// as PCM), once inside avformat_find_stream_info() and again on the first
// read of the demuxer thread, which libmpv must wait for when the clip is
// stopped. That costs 5-8 ms of the 8-10 ms a WAV took to open and close.
// For these files we trust the header.
QList<FileOption> perFileOptions(const QString &path, qint32 startMs, bool trustPcmHeaders)
{
    QList<FileOption> options;
    if (startMs > 0)
        options.append(FileOption{"start", QByteArray::number(startMs / 1000.0, 'f', 3)});
    if (!trustPcmHeaders)
        return options;
    static const char *const pcmSuffixes[] = {"wav", "aif", "aiff", "aifc", "au", "snd"};
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char *pcm : pcmSuffixes) {
        if (suffix == QLatin1String(pcm)) {
            options.append(FileOption{"demuxer-lavf-probe-info", "nostreams"});
            options.append(FileOption{"demuxer-lavf-o", "max_probe_packets=0"});
            break;
        }
    }
    return options;
}

} // namespace

void MpvRealPlayer::onEndFile(const mpv_event_end_file &end)
{
    if (m_activeId == kNoId || quint64(end.playlist_entry_id) != m_activeId)
        return; // a clip we left already
    const int reason = end.reason;
    const int error = end.error;
    if (reason == MPV_END_FILE_REASON_EOF) {
        onEntryEnded();
    } else if (reason == MPV_END_FILE_REASON_ERROR) {
        const QString entry = m_entries.value(m_entry).location;
        const int code = core::classifyLocation(entry).isStream() ? NetworkFailed
                         : (error == MPV_ERROR_LOADING_FAILED ||
                            error == MPV_ERROR_UNKNOWN_FORMAT || error == MPV_ERROR_NOTHING_TO_PLAY)
                             ? UnknownFormat
                             : PlaybackFailed;
        onEntryFailed(error, code, QString::fromUtf8(lib::error_string(error)));
    } else if (reason == MPV_END_FILE_REASON_REDIRECT) {
        // A playlist format of libmpv's own: we only play what we read.
        const char *args[] = {"stop", nullptr};
        lib::command_async(m_mpv, 0, args);
        onEntryFailed(0, UnknownFormat,
                      QStringLiteral("a playlist of a kind this engine does not read"));
    } else {
        // Stopped from outside our own calls (libmpv shutting down).
        m_activeId = kNoId;
        forgetClip();
        setState(Stopped);
    }
}

// --- operations ----------------------------------------------------------

void MpvRealPlayer::forgetClip()
{
    m_opened = false;
    m_restarted = false;
    m_cachePaused = false;
    m_pendingSeekMs = -1;
    m_openQueryTag = 0;
    m_openFacts.clear();
    m_restartWaiting = false;
    m_seekable = false;
    m_reportedMs = 0;
    m_reportClock.invalidate();
    m_positionFloor = 0;
    m_seekTargetMs = -1;
    m_seekTag = 0;
    m_timeQueryTag = 0;
}

void MpvRealPlayer::onLoadReply(int error, const QVariantMap &result)
{
    m_loadTag = 0;
    bool ok = false;
    const quint64 id = result.value(QStringLiteral("playlist_entry_id")).toULongLong(&ok);
    if (error < 0 || !ok) {
        onEntryFailed(error, PlaybackFailed,
                      error < 0 ? QString::fromUtf8(lib::error_string(error))
                                : QStringLiteral("libmpv gave no playlist entry id"));
        return;
    }
    m_activeId = id;
}

bool MpvRealPlayer::isOpen() const
{
    return m_activeId != kNoId || m_loadTag != 0;
}

void MpvRealPlayer::play()
{
    if (m_source.isEmpty())
        return;
    if (isOpen()) {
        if (m_paused) {
            m_paused = false;
            setMpvFlag("pause", false);
        }
        return;
    }
    m_paused = false;
    m_timesPlayed = 0;
    m_completedInRun = false;
    m_playedInRound.clear();
    if (!m_sourceError.isEmpty()) {
        // Reported like every other failure: after the call, as an event.
        const quint64 gen = ++m_loadGen;
        m_stopTag = 0;
        setState(Contacting);
        const int code = m_sourceErrorCode;
        const QString text = m_sourceError;
        post([this, gen, code, text] {
            if (gen != m_loadGen)
                return;
            m_failed = true;
            raiseError(Error, 0, code, text, QString());
            setState(Stopped);
        });
        return;
    }
    for (const SourceNote &note : std::as_const(m_sourceNotes))
        raiseError(Informational, 0, note.code, note.text, QString());
    openEntry(m_entry);
}

void MpvRealPlayer::openEntry(int index)
{
    const quint64 gen = ++m_loadGen;
    m_stopTag = 0; // a stop still on its way no longer ends anything
    m_loadTag = 0;
    m_entry = index;
    m_activeId = kNoId;
    m_lastLog.clear();
    forgetClip();
    setState(Contacting);
    const QString location = m_entries.value(index).location;
    auto failLater = [this, gen](int engineCode, int code, const QString &why) {
        post([this, gen, engineCode, code, why] {
            if (gen == m_loadGen)
                onEntryFailed(engineCode, code, why);
        });
    };
    if (!ensureMpv()) {
        post([this, gen] {
            if (gen != m_loadGen)
                return;
            m_failed = true;
            raiseError(Alert, 0, EngineFailed,
                       QStringLiteral("The playback engine (libmpv) could not start."), QString());
            setState(Stopped);
        });
        return;
    }
    QByteArray target;
    const core::Location where = core::classifyLocation(location);
    const QString local = where.isLocalFile() ? where.target : QString();
    if (!local.isEmpty()) {
        const FileCheck check = checkRegularFile(local);
        if (check.code != NoError) {
            failLater(0, check.code, check.text);
            return;
        }
        target = needsRetiming(local) ? retimedLocation(local) : local.toUtf8();
    } else if (where.isStream()) {
        target = where.target.toUtf8();
    } else {
        failLater(0, UnsupportedSource,
                  QStringLiteral("Not a location this engine can open: %1").arg(location));
        return;
    }
    loadTarget(target, local.isEmpty() ? location : local, failLater);
}

void MpvRealPlayer::loadTarget(const QByteArray &target, const QString &path,
                               const std::function<void(int, int, const QString &)> &failLater)
{
    int pause = m_paused ? 1 : 0;
    lib::set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &pause);
    LoadfileCommand command(target, perFileOptions(path, m_startMs, m_options.trustPcmHeaders));
    m_seekTargetMs = m_startMs > 0 ? m_startMs : -1; // shown once the clip opens
    m_startMs = 0;
    // Queued like stop: libmpv runs queued commands in order, while a
    // direct command could overtake a stop still in the queue. The reply
    // carries the entry id that tells this clip's reports apart.
    const quint64 tag = newTag();
    const int rc = lib::command_node_async(m_mpv, tag, command.node());
    if (rc < 0) {
        failLater(rc, PlaybackFailed, QString::fromUtf8(lib::error_string(rc)));
        return;
    }
    m_loadTag = tag;
}

void MpvRealPlayer::pause()
{
    if (m_state == Stopped || m_paused)
        return;
    m_paused = true;
    setMpvFlag("pause", true);
}

void MpvRealPlayer::stop()
{
    m_paused = false;
    m_startMs = 0;
    m_pendingSeekMs = -1;
    if (m_state == Stopped || m_stopTag != 0)
        return;
    ++m_loadGen; // queued failures of the clip no longer apply
    const bool loaded = isOpen();
    // From here on the clip's own reports are ignored; its state stays
    // until libmpv answers the stop.
    m_closingOpened = m_opened;
    m_activeId = kNoId;
    m_loadTag = 0;
    forgetClip();
    if (loaded && m_mpv) {
        m_stopTag = newTag();
        const char *args[] = {"stop", nullptr};
        if (lib::command_async(m_mpv, m_stopTag, args) >= 0)
            return;
        m_stopTag = 0;
    }
    const quint64 gen = m_loadGen;
    post([this, gen] {
        if (gen == m_loadGen)
            closeForStop();
    });
}

void MpvRealPlayer::closeForStop()
{
    const bool wasOpen = m_closingOpened;
    m_closingOpened = false;
    m_activeId = kNoId;
    forgetClip();
    m_entry = qBound(0, m_entry, qMax(0, int(m_entries.size()) - 1));
    if (wasOpen)
        post([this] { Q_EMIT clipClosed(); });
    setState(Stopped);
}

void MpvRealPlayer::setPosition(qint32 ms)
{
    if (m_activeId == kNoId || !m_opened) {
        if (isOpen())
            m_pendingSeekMs = qMax(0, ms);
        else
            m_startMs = qMax(0, ms);
        return;
    }
    const qint32 len = length();
    if (ms < 0 || (len >= 0 && ms > len)) {
        raiseError(Informational, 0, SeekRefused,
                   QStringLiteral("The position %1 ms is outside the clip.").arg(ms), QString());
        return;
    }
    if (seekTo(ms) && m_restarted)
        setState(Seeking); // until libmpv reports the playback restarted
}

bool MpvRealPlayer::seekTo(qint32 ms)
{
    const QByteArray seconds = QByteArray::number(ms / 1000.0, 'f', 3);
    const char *args[] = {"seek", seconds.constData(), "absolute", nullptr};
    const quint64 tag = newTag();
    if (lib::command_async(m_mpv, tag, args) < 0)
        return false;
    // The new place at once, until libmpv says where the seek landed; a
    // read of the time asked before this seek no longer applies.
    m_seekTag = tag;
    m_seekTargetMs = ms;
    m_timeQueryTag = 0;
    m_positionFloor = 0;
    return true;
}

} // namespace orvane::playback::mpv
