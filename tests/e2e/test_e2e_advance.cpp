// A user's playlist holds a file that has gone since it was added: the
// player says so and goes on with the rest, and a list of nothing but
// such files comes to rest instead of trying them round and round.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QFileInfo>

using namespace orvane::e2e;

namespace {

class Advance : public DesktopTest, public ::testing::WithParamInterface<EngineCase>
{
protected:
    // A copy of a clip in the user's home, so the story may delete it.
    QString ownClip(const QString &title, double seconds)
    {
        const QString shared = GetParam().clip(title, seconds);
        const QString own = m_desktop.home() + u'/' + QFileInfo(shared).fileName();
        QFile::remove(own);
        EXPECT_TRUE(QFile::copy(shared, own)) << own.toStdString();
        return own;
    }

    bool repeatAll(Player &player)
    {
        player.activate();
        const int windows = player.visibleWindows();
        if (!player.keyForPopup(QStringLiteral("alt+p")))
            return false;
        player.key(QStringLiteral("r"));
        return waitUntil([&] { return player.visibleWindows() == windows; }, 5000);
    }
};

} // namespace

TEST_P(Advance, AMissingFileIsReportedAndTheNextItemPlays)
{
    const QString gone = ownClip(QStringLiteral("Gone"), 5);
    Player &player = startPlayer({GetParam().clip(QStringLiteral("First"), 3), gone,
                                  GetParam().clip(QStringLiteral("Third"), 7)});
    ASSERT_TRUE(waitForStart(player, 3)) << player.statusText().toStdString();
    ASSERT_TRUE(QFile::remove(gone));

    EXPECT_TRUE(waitForStart(player, 7))
        << "the item after the missing one plays: " << player.statusText().toStdString();
}

TEST_P(Advance, AListOfOnlyMissingFilesComesToRest)
{
    const QString first = ownClip(QStringLiteral("First"), 2);
    const QString second = ownClip(QStringLiteral("Third"), 3);
    Player &player = startPlayer({first, second});
    ASSERT_TRUE(waitForStart(player, 2)) << player.statusText().toStdString();
    ASSERT_TRUE(repeatAll(player));
    ASSERT_TRUE(QFile::remove(first));
    ASSERT_TRUE(QFile::remove(second));

    EXPECT_TRUE(waitUntil(
        [&] { return player.playerctl({QStringLiteral("status")}) == QStringLiteral("Stopped"); },
        20000))
        << "with Repeat All on, the list still stops: " << player.statusText().toStdString();
    const QString rest = player.statusText();
    EXPECT_TRUE(rest.contains(QFileInfo(second).fileName()))
        << "the status line names the file: " << rest.toStdString();
    // At rest means no more attempts: the status line stays as it is.
    EXPECT_FALSE(waitUntil([&] { return player.statusText() != rest; }, 3000))
        << "it keeps trying: " << rest.toStdString() << " -> " << player.statusText().toStdString();

    // Play on the missing item at the top says why nothing plays.
    ASSERT_TRUE(clickControl(player, QStringLiteral("Play")));
    EXPECT_TRUE(
        waitUntil([&] { return player.statusText().contains(QFileInfo(first).fileName()); }, 10000))
        << player.statusText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, Advance, ::testing::ValuesIn(kEngines),
                         [](const auto &engine) { return std::string(engine.param.name); });
