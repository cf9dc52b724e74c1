// The ".ovl" reader on arbitrary bytes: it never crashes, every view item
// points at a record, and whatever it read is written and read back
// unchanged (the escapes and the encoding choice lose nothing).
#include "playlist/ovlformat.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <cstdint>
#include <cstdlib>

using namespace orvane::playlist;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QList<PlayListItem> recordsInViewOrder(const PlayListModel &model)
{
    QList<PlayListItem> records;
    for (int position = 0; position < model.count(); ++position) {
        const int index = IndexFromKey(nullptr, model.key(position));
        check(index >= 0 && index < PlayList.size());
        records.append(PlayList[index]);
    }
    return records;
}

// Written the way SavePlayList writes it and read back: nothing changes.
void checkRoundTrip(const PlayListModel &model)
{
    const QList<PlayListItem> records = recordsInViewOrder(model);
    QString body;
    for (const PlayListItem &item : records) {
        PlayListItem again;
        check(ovl::parseItemLine(ovl::formatItemLine(item), true, again) && again == item);
        body += ovl::formatItemLine(item) + ovl::kLineEnd;
    }
    const QString head = ovl::kHeader + ovl::kWrittenVersion + ovl::kLineEnd;
    static PlayListModel reread;
    ResetPlayList();
    check(LoadPlayListBytes(EncodePlayListText(head, body), reread));
    check(recordsInViewOrder(reread) == records);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static PlayListModel model;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ResetPlayList();
    model.clear();
    if (LoadPlayListBytes(bytes, model))
        checkRoundTrip(model);
    else
        check(model.count() == 0);
    return 0;
}
