#include "adding/mediainfo.h"

#include "core/language.h"
#include "core/location.h"
#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playlist/locations.h"
#include "playlist/lstplaylist.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <QUrl>

namespace orvane::adding {

using playback::MediaPlayer;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTab = QStringLiteral("\t");

QString label(const char *key)
{
    return core::GetText(QStringLiteral("Playlist"), QString::fromLatin1(key));
}

// The record of the selected item, or null.
const playlist::PlayListItem *selectedRecord(const playlist::lstPlayList &view)
{
    const int index = playlist::IndexFromKey(&view, QString());
    if (index < 0 || index >= playlist::PlayList.size())
        return nullptr;
    return &playlist::PlayList[index];
}

// Every line of a description after the label, indented by one tab. Tags
// on Linux end lines with LF alone as often as with CR LF; both count.
QString indentedDescription(const QString &description)
{
    QString lines = description;
    lines.replace(kCrLf, QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    lines.replace(QStringLiteral("\n"), kCrLf + kTab);
    return kTab + lines;
}

} // namespace

QString GetMediaInfoText(MediaPlayer &mediaPlayer, playback::RealPlayer &,
                         playlist::lstPlayList &view)
{
    const playlist::PlayListItem *record = selectedRecord(view);
    if (!record)
        return QString();
    const QString separator = kTab + QStringLiteral(": ");
    QString text = label("Title") + separator + record->TITLE + kCrLf;
    text += label("Author") + separator + record->AUTHOR + kCrLf;
    text += label("Copy") + separator + record->COPYRIGHT + kCrLf;
    text += label("Desc") + kCrLf + indentedDescription(record->DESCRIPTHION);
    if (playback::state::LoadedMediaType == playback::kMediaPlayerFile) {
        text += kCrLf + label("Codec") + separator;
        const int codecs = mediaPlayer.codecCount();
        if (codecs > 0)
            text += mediaPlayer.codecDescription(1);
        for (int i = 2; i <= codecs; ++i)
            text += kCrLf + kTab + kTab + mediaPlayer.codecDescription(i);
    }
    return text;
}

bool RefreshItemInfo(MediaPlayer &mediaPlayer, playback::RealPlayer &realPlayer,
                     playlist::lstPlayList &view)
{
    const playlist::PlayListItem *selected = selectedRecord(view);
    if (!selected)
        return true;
    playlist::PlayListItem record = *selected;
    switch (playback::state::LoadedMediaType) {
    case playback::kMediaPlayerFile:
        record.TITLE = mediaPlayer.mediaInfoString(MediaPlayer::InfoTitle);
        record.AUTHOR = mediaPlayer.mediaInfoString(MediaPlayer::InfoAuthor);
        record.COPYRIGHT = mediaPlayer.mediaInfoString(MediaPlayer::InfoCopyright);
        record.DESCRIPTHION = mediaPlayer.mediaInfoString(MediaPlayer::InfoDescription);
        break;
    case playback::kRealPlayerFile:
        record.TITLE = realPlayer.title();
        record.AUTHOR = realPlayer.author();
        record.COPYRIGHT = realPlayer.copyright();
        record.DESCRIPTHION.clear();
        break;
    default:
        break;
    }
    if (record.TITLE.isEmpty())
        record.TITLE = TitleWhenUntagged(record.FILENAME);
    const int position = view.selectedPosition();
    playlist::UpdateRecord(view, playlist::IndexFromKey(&view, QString()), record, position);
    return true;
}

QString TitleWhenUntagged(const QString &location)
{
    // Disc tracks are named by their place on the disc, which the File
    // column shows already.
    const bool disc = location.startsWith(playlist::kAudioCdScheme, Qt::CaseInsensitive) ||
                      location.startsWith(playlist::kVideoCdScheme, Qt::CaseInsensitive);
    QString name;
    if (!disc) {
        // "?" and "#" end the path of a web URL; in a file's name they are
        // letters like any other.
        QString path =
            core::locationScheme(location).isEmpty() ? location : core::localFileOf(location);
        if (path.isEmpty())
            path = QUrl::fromPercentEncoding(
                location.section(u'?', 0, 0).section(u'#', 0, 0).toUtf8());
        name = playlist::FileNamePart(path);
        // The extension says how it is stored, not what it is.
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot > 0)
            name.truncate(dot);
        const qsizetype scheme = path.indexOf(QStringLiteral("://"));
        const bool bareHost = scheme >= 0 && !path.mid(scheme + 3).contains(u'/');
        if (location.endsWith(u'/') || bareHost)
            name.clear(); // "http://host/", "mms://host"
    }
    return name.trimmed().isEmpty() ? label("Unknown") : name;
}

} // namespace orvane::adding
