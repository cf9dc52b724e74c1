#include "playback/gst/gstmediaplayer.h"
#include "playback/gst/gstmediaplayer_p.h"

#include "core/textcodec.h"
#include "playlist/locations.h"

#include <QFile>
#include <QFileInfo>

#include <gst/gst.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    const QString path = playlist::LocalPathOf(location);
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
    startPipeline(location);
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
        const QString path = playlist::LocalPathOf(location);
        if (path.isEmpty()) {
            startPipeline(location);
            return true;
        }
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
