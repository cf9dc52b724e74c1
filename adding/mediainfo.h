#pragma once

#include <QString>

namespace orvane::playlist {
class lstPlayList;
}
namespace orvane::playback {
class MediaPlayer;
class RealPlayer;
} // namespace orvane::playback

namespace orvane::adding {

// The information box's text for the selected item: title, author, rights
// notice, the description (each of its lines indented by a tab) and, for a
// loaded MediaPlayer file, its codecs. Empty when nothing is selected.
QString GetMediaInfoText(playback::MediaPlayer &mediaPlayer, playback::RealPlayer &realPlayer,
                         playlist::lstPlayList &view);

// Stores the loaded media's title, author, rights notice and description in
// the selected item's record and view line. Always true.
bool RefreshItemInfo(playback::MediaPlayer &mediaPlayer, playback::RealPlayer &realPlayer,
                     playlist::lstPlayList &view);

// The title of media that names none: the file name without its folder and
// extension for files and web locations that end in one, else the
// "Unknown" text (discs, streams without a name).
QString TitleWhenUntagged(const QString &location);

} // namespace orvane::adding
