#pragma once

#include "playlist/playlistitem.h"

#include <QList>
#include <QString>

namespace orvane::playlist {

// The process-wide playlist store. View items point into it through their
// keys ("num" + index); the view, not the store, holds the play order.
// Indices are never reused while an item is left: deleting or moving an
// item leaves its record where it is. Everything lives on the GUI thread.
inline QList<PlayListItem> PlayList{PlayListItem{}};

// Full path of the playlist file last loaded or saved; empty when none.
inline QString PlayListFile;

// Back to one blank record at index 0 (start-up, clearing, deleting the
// last item).
void ResetPlayList();

// The index the next added record takes: 0 while record 0 has no location
// (a fresh playlist), otherwise one past the upper bound.
int NextRecordIndex();

// Grows the store so that index exists, keeping every record; returns it.
PlayListItem &EnsureRecord(int index);

// The view key of a record index: "num" + the decimal index.
QString KeyOfIndex(int index);

} // namespace orvane::playlist
