#include "playlist/playlistops.h"

#include "playlist/lstplaylist.h"
#include "playlist/playliststore.h"

#include <algorithm>

namespace orvane::playlist {

int IndexFromKey(const lstPlayList *view, const QString &key)
{
    QString effective = key;
    if (effective.isEmpty()) {
        const int selected = view ? view->selectedPosition() : -1;
        if (selected < 0)
            return -1;
        effective = view->key(selected);
    }
    if (effective.size() <= 3)
        return -1;
    const QStringView digits = QStringView(effective).mid(3);
    if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return -1;
    bool ok = false;
    const int index = digits.toInt(&ok);
    return ok ? index : -1;
}

QString ReplaceAll(const QString &text, const QString &search, const QString &replacement)
{
    if (text.isEmpty() || search.isEmpty())
        return text;
    QString result = text;
    return result.replace(search, replacement, Qt::CaseSensitive);
}

ViewItem ViewItemOfRecord(int index, const QString &shownLocation)
{
    const PlayListItem &record = PlayList[index];
    return {KeyOfIndex(index), record.TITLE, record.AUTHOR, shownLocation, record.DOPLAY != kFalse};
}

void UpdateRecord(lstPlayList &view, int index, const PlayListItem &record, int position)
{
    EnsureRecord(index) = record;
    const QString key = KeyOfIndex(index);
    if (position < 0 || view.key(position) != key)
        position = view.positionOfKey(key);
    if (position < 0)
        return;
    view.setText(position, record.TITLE);
    view.setSubItem(position, 1, record.AUTHOR);
    view.setChecked(position, record.DOPLAY != kFalse);
}

bool MoveSelectedItem(lstPlayList &view, int distance)
{
    const int selected = view.selectedPosition();
    if (selected < 0)
        return false;
    const int last = view.count() - 1;
    if ((distance > 0 && selected == last) || (distance < 0 && selected == 0))
        return false;
    const ViewItem moving = view.item(selected);
    const int target = std::clamp(selected + distance, 0, last);
    view.removeByKey(moving.key);
    view.insertItem(target, moving);
    view.setSelectedPosition(target);
    return true;
}

bool DeleteSelectedItem(lstPlayList &view)
{
    const int selected = view.selectedPosition();
    if (selected < 0)
        return false;
    view.removeByKey(view.key(selected));
    if (view.isEmpty()) {
        ResetPlayList();
        PlayListFile.clear();
    }
    return true;
}

bool ClearPlayList(lstPlayList &view)
{
    if (view.isEmpty())
        return false;
    view.clear();
    ResetPlayList();
    PlayListFile.clear();
    return true;
}

} // namespace orvane::playlist
