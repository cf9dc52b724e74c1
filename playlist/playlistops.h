#pragma once

#include <QString>

namespace orvane::playlist {

class lstPlayList;
struct PlayListItem;
struct ViewItem;

// The view item that shows the record at index (which must exist), with the
// location column reading shownLocation.
ViewItem ViewItemOfRecord(int index, const QString &shownLocation);

// Writes the record at index (growing the store when needed) and brings the
// view item that points at it, if any, in step: title, author and check
// box. The location column keeps the form it was given when the item was
// added. Every change of a record that the view shows goes through here.
// position, when known, saves looking the item up by its key; a position
// that holds another item is ignored.
void UpdateRecord(lstPlayList &view, int index, const PlayListItem &record, int position = -1);

// The record index a view key names: the number after the key's first three
// characters ("num12" gives 12). An empty key means the key of the view's
// selected item. -1 when there is no such item or the key names no index.
// The index is 32-bit: playlists hold far more than 32,767 items.
int IndexFromKey(const lstPlayList *view, const QString &key);

// text with every occurrence of search (exact, case-sensitive) replaced.
QString ReplaceAll(const QString &text, const QString &search, const QString &replacement);

// Moves the selected item by distance places (-1 up, +1 down), keeping
// its key, texts and check state and keeping it selected. False when
// nothing is selected or it already is at that end.
bool MoveSelectedItem(lstPlayList &view, int distance);

// Removes the selected item; when that was the last one the store is reset
// and PlayListFile forgotten. False when nothing is selected.
bool DeleteSelectedItem(lstPlayList &view);

// Removes every item, resets the store and forgets PlayListFile. False when
// the view was empty.
bool ClearPlayList(lstPlayList &view);

} // namespace orvane::playlist
