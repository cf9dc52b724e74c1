#include "playlist/playliststore.h"

namespace orvane::playlist {

void ResetPlayList()
{
    PlayList = QList<PlayListItem>{PlayListItem{}};
}

int NextRecordIndex()
{
    if (PlayList.isEmpty() || PlayList.front().FILENAME.isEmpty())
        return 0;
    return int(PlayList.size());
}

PlayListItem &EnsureRecord(int index)
{
    Q_ASSERT(index >= 0);
    if (PlayList.size() <= index)
        PlayList.resize(index + 1);
    return PlayList[index];
}

QString KeyOfIndex(int index)
{
    return QStringLiteral("num") + QString::number(index);
}

} // namespace orvane::playlist
