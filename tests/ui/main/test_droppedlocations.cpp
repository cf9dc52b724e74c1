// What a drop on the window queues: the files a file manager dropped, by
// the names they have on disk.
#include "ui/main/droppedlocations.h"

#include "tests/support/qtprint.h"

#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

using orvane::ui::DroppedLocationList;

namespace {

QString droppedUriList(const QByteArray &lines)
{
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), lines);
    return DroppedLocationList(data);
}

} // namespace

TEST(DroppedLocations, NamesArriveLetterForLetter)
{
    const QString awkward = QStringLiteral("/m/a b \"c\" #1 100% ñ 日本.wav");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(awkward), QUrl::fromLocalFile(QStringLiteral("/m/c.wav")),
                   QUrl(QStringLiteral("http://radio.example/live%20mix.mp3"))});
    EXPECT_EQ(DroppedLocationList(files),
              awkward + QStringLiteral("|/m/c.wav|http://radio.example/live%20mix.mp3"));

    // As file managers encode them, and as some programs send them raw.
    EXPECT_EQ(droppedUriList("file:///m/a%20b%20%22c%22%20%231%20100%25%20"
                             "%C3%B1%20%E6%97%A5%E6%9C%AC.wav\r\n"),
              awkward);
    EXPECT_EQ(droppedUriList("file:///m/track #2?.wav\r\n"), QStringLiteral("/m/track #2?.wav"))
        << "'#' and '?' in a file's name are no fragment or query";

    QMimeData text;
    text.setText(QStringLiteral("not files"));
    EXPECT_EQ(DroppedLocationList(text), QString());
}
