#include "playlist/sessionplaylist.h"

#include "playlist/lstplaylist.h"
#include "playlist/playlistfile.h"
#include "playlist/playliststore.h"

#include "core/inifile.h"
#include "core/settingkeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane::playlist {

namespace {

const QString kSessionFileName = QStringLiteral("lastplaylist.ovl");

// The writer and the reader name the file they used as the current
// playlist file; the session file must never become it.
class KeepPlayListFile
{
public:
    KeepPlayListFile()
        : m_saved(PlayListFile)
    {}
    ~KeepPlayListFile() { PlayListFile = m_saved; }
    KeepPlayListFile(const KeepPlayListFile &) = delete;
    KeepPlayListFile &operator=(const KeepPlayListFile &) = delete;

private:
    QString m_saved;
};

bool removeIfPresent(const QString &path)
{
    return !QFileInfo::exists(path) || QFile::remove(path);
}

} // namespace

QString SessionPlayListPath(const QString &settingsFile)
{
    return QFileInfo(settingsFile).absoluteDir().filePath(kSessionFileName);
}

bool RestorePlaylistOn(const QString &settingsFile)
{
    bool on = true;
    core::IniReadWrite(core::settings::kGeneral, core::settings::kRestorePlaylist, on, settingsFile,
                       false);
    return on;
}

bool SaveSessionPlayList(const lstPlayList &view, const QString &settingsFile)
{
    const QString path = SessionPlayListPath(settingsFile);
    if (!RestorePlaylistOn(settingsFile) || view.isEmpty())
        return removeIfPresent(path);
    const KeepPlayListFile keep;
    return SavePlayList(view, path, false);
}

bool RestoreSessionPlayList(lstPlayList &view, const QString &settingsFile)
{
    if (!RestorePlaylistOn(settingsFile))
        return false;
    const KeepPlayListFile keep;
    return LoadPlayList(SessionPlayListPath(settingsFile), view);
}

} // namespace orvane::playlist
