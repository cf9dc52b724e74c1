#include "playback/cd/boundeddisc.h"
#include "playback/cd/disc.h"

#include "tests/support/discimages.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace orvane::playback;
using orvane::test::audioDiscImage;
using orvane::test::ImageTrack;

namespace {

DiscInfo tableOf(std::initializer_list<std::int32_t> starts, std::int32_t leadout)
{
    DiscInfo disc;
    int number = 1;
    for (std::int32_t start : starts)
        disc.tracks.append(DiscTrack{number++, start, 0, true, {}, {}});
    disc.leadoutLsn = leadout;
    return disc;
}

} // namespace

// Worked by hand from the freedb rule: starts at 2 s, 5 s and 8 s of the
// disc (digit sums 2+5+8 = 15), 9 s of program, three tracks.
TEST(DiscId, FollowsTheFreedbRule)
{
    EXPECT_EQ(cddbDiscId(tableOf({0, 225, 450}, 675)), 0x0f000903u);
    // Digit sums are taken per start second: 12 s and 70 s give 3 and 7.
    EXPECT_EQ(cddbDiscId(tableOf({750, 5100}, 6000)), 0x0a004602u);
    EXPECT_EQ(cddbDiscId(DiscInfo{}), 0u);
}

TEST(DiscId, RejectsTablesThatCannotBeADisc)
{
    EXPECT_TRUE(discIsConsistent(tableOf({0, 225}, 450)));
    EXPECT_FALSE(discIsConsistent(tableOf({0, 225}, 225))) << "empty last track";
    EXPECT_FALSE(discIsConsistent(tableOf({225, 0}, 450))) << "tracks out of order";
    EXPECT_FALSE(discIsConsistent(tableOf({-10}, 450)));
    EXPECT_FALSE(discIsConsistent(DiscInfo{}));
}

TEST(ReadDisc, GivesTracksLengthsAndCdText)
{
    const QString cue = audioDiscImage(QStringLiteral("disc-cdtext"),
                                       {{3, QStringLiteral("First"), QStringLiteral("Ann")},
                                        {2, QStringLiteral("Second"), QStringLiteral("Bob")},
                                        {1, {}, {}, true}},
                                       QStringLiteral("Album"), QStringLiteral("Various"));
    ASSERT_FALSE(cue.isEmpty());
    const auto disc = readDisc(cue);
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->tracks.size(), 3);
    EXPECT_EQ(disc->firstTrack(), 1);
    EXPECT_EQ(disc->audioTracks(), 2);
    EXPECT_EQ(disc->tracks.at(0).frames, 225);
    EXPECT_EQ(disc->tracks.at(1).startLsn, 225);
    EXPECT_EQ(disc->tracks.at(1).frames, 150);
    EXPECT_FALSE(disc->tracks.at(2).audio);
    EXPECT_EQ(disc->leadoutLsn, 450);
    EXPECT_EQ(disc->title, QStringLiteral("Album"));
    EXPECT_EQ(disc->performer, QStringLiteral("Various"));
    EXPECT_EQ(disc->tracks.at(1).title, QStringLiteral("Second"));
    EXPECT_EQ(disc->tracks.at(0).performer, QStringLiteral("Ann"));
    EXPECT_TRUE(disc->tracks.at(2).title.isEmpty());
}

TEST(ReadDisc, IsEmptyForWhatIsNoDisc)
{
    EXPECT_FALSE(readDisc(QStringLiteral("/nonexistent/disc.cue")));
    const QString cue = audioDiscImage(QStringLiteral("disc-nobin"), {{1, {}, {}}});
    ASSERT_FALSE(cue.isEmpty());
    QFile::remove(QString(cue).replace(QStringLiteral(".cue"), QStringLiteral(".bin")));
    EXPECT_FALSE(readDisc(cue)) << "a sheet whose image is missing";
    // libcdio's own log handler would end the whole process here.
    EXPECT_FALSE(readDisc(QFileInfo(cue).absolutePath())) << "a folder";
}

// A device that never answers: opening a FIFO blocks until a writer comes.
TEST(ReadDiscWithin, GivesUpOnADriveThatDoesNotAnswer)
{
    QTemporaryDir dir;
    const QByteArray fifo = dir.filePath(QStringLiteral("drive")).toLocal8Bit();
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(readDiscWithin(QString::fromLocal8Bit(fifo), 300));
    EXPECT_LT(clock.elapsed(), 2000);
    // Let the worker's open return so that it ends before the folder goes.
    const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        ::close(writer);
}

TEST(ReadDiscWithin, AnswersLikeReadDiscWhenInTime)
{
    const QString cue = audioDiscImage(QStringLiteral("disc-bounded"), {{1, {}, {}}, {1, {}, {}}});
    ASSERT_FALSE(cue.isEmpty());
    const auto disc = readDiscWithin(cue, 5000);
    ASSERT_TRUE(disc);
    EXPECT_EQ(disc->tracks.size(), 2);
}
