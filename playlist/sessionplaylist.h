#pragma once

#include <QString>

namespace orvane::playlist {

class lstPlayList;

// The playlist of the last run, kept in an ".ovl" file beside setting.ini
// so that the next start opens with it. "Restore Playlist" of "General
// Setting" (default true) switches it on.

// The file of the last run's playlist, in the folder of settingsFile.
QString SessionPlayListPath(const QString &settingsFile);

bool RestorePlaylistOn(const QString &settingsFile);

// At close: the view's items replace the file atomically, so a crash or a
// full disk leaves the previous list. An empty view removes the file (the
// user emptied the list), and so does the setting being off (nothing of a
// run is kept that the user asked not to keep). True when the file now
// holds what the view holds, or nothing is kept as asked.
bool SaveSessionPlayList(const lstPlayList &view, const QString &settingsFile);

// At start, when no locations were given: the last run's items fill the
// view. False, with the view untouched and nothing said, when the setting
// is off or the file is missing or unreadable. PlayListFile is left as it
// was: the user never named this file, so Save still asks where to save.
bool RestoreSessionPlayList(lstPlayList &view, const QString &settingsFile);

} // namespace orvane::playlist
