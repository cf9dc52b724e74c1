#include "playback/gst/gstmediaplayer.h"
#include "playback/gst/gstmediaplayer_p.h"
#include "playback/gst/videocduri.h"

#include "core/location.h"
#include "core/textcodec.h"

#include <QFile>
#include <QFileInfo>

#include <gst/gst.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace orvane::playback::gst {

namespace {

struct FileCheck {
    qint32 code = MediaPlayer::NoError;
    QString why;
};

// GStreamer would block on a FIFO or device and report vague errors for
// folders and empty files: decide those before it sees the file.
FileCheck checkLocalFile(const QString &path)
{
    struct stat st {
    };
    const QByteArray native = QFile::encodeName(path);
    if (!path.startsWith(QLatin1Char('/')) || ::stat(native.constData(), &st) != 0) {
        if (errno == EACCES)
            return {MediaPlayer::ErrorAccessDenied, QStringLiteral("The file cannot be read.")};
        return {MediaPlayer::ErrorFileNotFound, QStringLiteral("The file was not found.")};
    }
    if (S_ISDIR(st.st_mode))
        return {MediaPlayer::ErrorNotMediaFile, QStringLiteral("The location is a folder.")};
    if (!S_ISREG(st.st_mode))
        return {MediaPlayer::ErrorNotMediaFile, QStringLiteral("The location is not a file.")};
    if (st.st_size == 0)
        return {MediaPlayer::ErrorNotMediaFile, QStringLiteral("The file is empty.")};
    if (::access(native.constData(), R_OK) != 0)
        return {MediaPlayer::ErrorAccessDenied, QStringLiteral("The file cannot be read.")};
    return {};
}

// Why a location that is no local file and no stream is not opened.
FileCheck notOpened(const core::Location &where)
{
    if (where.relativePath)
        return {MediaPlayer::ErrorFileNotFound, QStringLiteral("The file was not found.")};
    if (where.kind == core::Location::Kind::Disc)
        return {MediaPlayer::ErrorNotMediaFile,
                QStringLiteral("A disc location is played through its drive.")};
    return {MediaPlayer::ErrorNotMediaFile,
            QStringLiteral("The location is not one the player opens: ") + where.reason};
}

} // namespace

void GstMediaPlayer::setFileName(const QString &location)
{
    closeMedia();
    m_fileName = location;
    if (location.isEmpty())
        return;
    if (!m_playbin) {
        raiseError(ErrorEngine, QStringLiteral("GStreamer is not available."), true);
        return;
    }
    // A Video CD track is read by the disc source element, which reports a
    // missing disc or track itself: no file to check, no stream either.
    if (parseVideoCdUri(location)) {
        startPipeline(location);
        return;
    }
    const core::Location where = core::classifyLocation(location);
    if (!where.isLocalFile() && !where.isStream()) {
        const FileCheck refusal = notOpened(where);
        raiseError(refusal.code, refusal.why, true);
        return;
    }
    const QString path = where.isLocalFile() ? where.target : QString();
    if (!path.isEmpty() && isAsxLocation(path)) {
        const FileCheck check = checkLocalFile(path);
        if (check.code != NoError) {
            raiseError(check.code, check.why, true);
            return;
        }
        QFile file(path);
        if (QFileInfo(path).size() > kMaxAsxFileSize || !file.open(QIODevice::ReadOnly)) {
            raiseError(ErrorPlaylist, QStringLiteral("The playlist cannot be read."), true);
            return;
        }
        const AsxResult asx = parseAsx(core::decodeText(file.readAll()).text);
        if (!asx.ok) {
            raiseError(ErrorPlaylist, QStringLiteral("The playlist cannot be used: ") + asx.error,
                       true);
            return;
        }
        m_asx = asx.playlist;
        m_asxFolder = QFileInfo(path).absolutePath();
        openEntry(1);
        return;
    }
    if (!path.isEmpty()) {
        const FileCheck check = checkLocalFile(path);
        if (check.code != NoError) {
            raiseError(check.code, check.why, true);
            return;
        }
        gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
        startPipeline(QString::fromUtf8(uri));
        g_free(uri);
        return;
    }
    startPipeline(where.target);
}

bool GstMediaPlayer::openEntry(int entry)
{
    m_entry = entry;
    m_ref = 0;
    return openRef();
}

// Tries the current entry's references from m_ref on; the first that can be
// handed to GStreamer is opened. A reference to another playlist is refused:
// that is how a playlist that names itself ends.
bool GstMediaPlayer::openRef()
{
    const QStringList refs = m_asx.entries.value(m_entry - 1).refs;
    FileCheck last{ErrorPlaylist, QStringLiteral("The entry names no media.")};
    for (; m_ref < refs.size(); ++m_ref) {
        const QString location = resolveAsxRef(m_asxFolder, refs.at(m_ref));
        if (isAsxLocation(location)) {
            last = {ErrorPlaylist, QStringLiteral("The playlist refers to another playlist.")};
            continue;
        }
        const core::Location where = core::classifyLocation(location);
        if (where.isStream()) {
            startPipeline(where.target);
            return true;
        }
        if (!where.isLocalFile()) {
            last = notOpened(where);
            continue;
        }
        const QString path = where.target;
        last = checkLocalFile(path);
        if (last.code == NoError) {
            gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
            startPipeline(QString::fromUtf8(uri));
            g_free(uri);
            return true;
        }
    }
    m_uri.clear();
    raiseError(last.code, last.why, true);
    if (m_state != Closed)
        setState(Stopped);
    return false;
}

void GstMediaPlayer::setCurrentEntry(qint32 entry)
{
    if (entry < 1 || entry > m_asx.entries.size() || entry == m_entry)
        return;
    m_hasError = false;
    m_errorCode = NoError;
    m_errorDescription.clear();
    m_errorRecovery.clear();
    m_lastWarning.clear();
    if (m_state == Paused)
        setState(Stopped);
    m_target = m_state == Playing || m_state == Waiting ? Target::Playing : Target::Stopped;
    openEntry(entry);
}

} // namespace orvane::playback::gst

namespace orvane::playback::gst {

namespace {

// How long playbin's streaming thread waits for the GUI thread's answer.
// The sound already queued lasts longer; a GUI thread that is busy for
// longer only costs the gapless change.
constexpr auto kAnswerLimit = std::chrono::milliseconds(300);

} // namespace

void BusRelay::onAboutToFinish(GstElement *playbin, gpointer data)
{
    auto *relay = static_cast<BusRelay *>(data);
    if (!relay->mayHandOver.load(std::memory_order_acquire))
        return;
    std::unique_lock lock(relay->nextLock);
    const quint64 generation = relay->generation.load(std::memory_order_acquire);
    relay->askedGeneration = generation;
    relay->answered = false;
    relay->nextUri.clear();
    GstMediaPlayer *target = relay->target;
    QMetaObject::invokeMethod(
        target, [target, generation] { target->answerNext(generation); }, Qt::QueuedConnection);
    relay->nextAnswered.wait_for(lock, kAnswerLimit, [relay] { return relay->answered; });
    if (relay->answered && !relay->nextUri.isEmpty() &&
        relay->generation.load(std::memory_order_acquire) == generation)
        g_object_set(playbin, "uri", relay->nextUri.constData(), nullptr);
    relay->askedGeneration = 0;
}

void GstMediaPlayer::setNextLocationProvider(NextLocation provider)
{
    m_nextProvider = std::move(provider);
    if (m_relay)
        m_relay->mayHandOver.store(m_nextProvider && m_realOutputsIn, std::memory_order_release);
}

// Only a local file that opens as it is follows without a gap: a playlist
// plays entry by entry, and a stream may take longer to open than the
// sound that is left.
void GstMediaPlayer::answerNext(quint64 generation)
{
    QString location;
    QByteArray uri;
    // Not while a reopen still has to seek to where it resumes: the seek
    // would flush playbin in the middle of the change.
    const bool resuming = m_joining && m_resumeAt >= 0.0;
    if (generation == m_generation && m_nextProvider && m_realOutputsIn && !resuming &&
        m_asx.entries.isEmpty()) {
        location = m_handed.isEmpty() ? m_nextProvider(m_fileName, m_playsDone)
                                      : m_nextProvider(m_handed.last().location, 0);
    }
    const QString path = core::localFileOf(location);
    if (!path.isEmpty() && !isAsxLocation(path) && checkLocalFile(path).code == NoError) {
        gchar *text = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
        uri = text;
        g_free(text);
    }
    {
        std::lock_guard lock(m_relay->nextLock);
        if (m_relay->askedGeneration != generation || generation != m_generation)
            uri.clear(); // the question went unanswered in time
        m_relay->nextUri = uri;
        m_relay->answered = true;
    }
    m_relay->nextAnswered.notify_all();
    if (!uri.isEmpty())
        m_handed.append({location, QString::fromUtf8(uri)});
}

void GstMediaPlayer::cancelNextQuestion()
{
    if (!m_relay)
        return;
    {
        std::lock_guard lock(m_relay->nextLock);
        m_relay->nextUri.clear();
        m_relay->answered = true;
    }
    m_relay->nextAnswered.notify_all();
    m_handed.clear();
}

QStringList GstMediaPlayer::nextLocations() const
{
    QStringList locations;
    for (const Handed &h : m_handed)
        locations.append(h.location);
    return locations;
}

void GstMediaPlayer::dropNextLocations()
{
    if (m_handed.isEmpty())
        return;
    m_handed.clear();
    // playbin has the locations already and would change to them at the
    // end: the playing media is opened again where it is, without them.
    if (m_prerolled && !m_needsRestart && !m_uri.isEmpty())
        reopenAt(m_atEnd ? 0.0 : currentPosition());
}

// A media that was handed over now plays: what is known of the media is
// read again for it, as after an open.
void GstMediaPlayer::onStreamStart()
{
    if (!m_prerolled || m_handed.isEmpty())
        return;
    const Handed now = m_handed.takeFirst();
    m_fileName = now.location;
    m_uri = now.uri;
    m_hasError = false;
    m_errorCode = NoError;
    m_errorDescription.clear();
    m_errorRecovery.clear();
    resetMediaRecord();
    m_prerolled = true;
    readDuration();
    readStreams();
    GstTagList *tags = nullptr;
    g_signal_emit_by_name(m_playbin, "get-audio-tags", 0, &tags);
    m_tags = tags ? tags : gst_tag_list_new_empty();
    updatePictureSize();
    videoWindowExposed();
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT nextStarted(); }, Qt::QueuedConnection);
}

} // namespace orvane::playback::gst
