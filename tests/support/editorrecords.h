#pragma once

#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <QList>
#include <QString>

namespace orvane::test {

// n records "T0".."T(n-1)" by author "A", each playing once, with a view
// item in model. shortLocations shows "i.mp3" in the location column, so a
// test sees whether that column is kept; otherwise the full location.
inline void fillEditorRecords(playlist::PlayListModel &model, int n, bool shortLocations)
{
    using namespace orvane::playlist;
    QList<ViewItem> items;
    for (int i = 0; i < n; ++i) {
        PlayListItem &record = EnsureRecord(i);
        record.MEDIATYPE = kMediaWmp;
        record.DOPLAY = kTrue;
        record.DOLOOP = 1;
        record.FILENAME = QStringLiteral("file:///m/%1.mp3").arg(i);
        record.TITLE = QStringLiteral("T%1").arg(i);
        record.AUTHOR = QStringLiteral("A");
        items.append(ViewItemOfRecord(i, shortLocations ? QStringLiteral("%1.mp3").arg(i)
                                                        : record.FILENAME));
    }
    model.appendItems(items);
}

} // namespace orvane::test
