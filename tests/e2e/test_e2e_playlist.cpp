// A user builds, saves and reopens a playlist, hands files to the running
// program from a second start, sets the volume and meets a broken file.
#include "playlist/ovlformat.h"
#include "playlist/playlistitem.h"
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QRegularExpression>

using namespace orvane::e2e;
namespace playlist = orvane::playlist;

namespace {

class Playlist : public DesktopTest, public ::testing::WithParamInterface<EngineCase>
{
protected:
    QString clip(const QString &title, double seconds) { return GetParam().clip(title, seconds); }

    bool waitForRows(Player &player, qsizetype rows, int timeoutMs = 15000)
    {
        return waitUntil([&] { return player.playlist().size() == rows; }, timeoutMs, 200);
    }
};

// The null sink's volume in per cent, as the desktop's sound applet shows
// it; -1 when pactl does not say.
int sinkVolume(const Desktop &desktop)
{
    const QString text = desktop.run(QStringLiteral("pactl"), {QStringLiteral("get-sink-volume"),
                                                               QStringLiteral("orvane_null")});
    static const QRegularExpression percent(QStringLiteral("(\\d+)%"));
    const QRegularExpressionMatch match = percent.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

TEST_P(Playlist, ASecondStartHandsItsFilesToThePlayingWindow)
{
    Player &first = startPlayer({clip(QStringLiteral("First"), 20)});
    ASSERT_TRUE(waitForStart(first, 20)) << first.statusText().toStdString();

    Player second(m_desktop, m_folder);
    ASSERT_TRUE(second.start({clip(QStringLiteral("Second"), 20)}));
    EXPECT_EQ(second.waitForExit(15000), 0) << "the second start ends once it handed over\n"
                                            << second.log().toStdString();
    EXPECT_TRUE(waitForRows(first, 2)) << "the handed file joins the playlist";
    EXPECT_TRUE(waitForStart(first, 21)) << "and plays: " << first.statusText().toStdString();
}

TEST_P(Playlist, SavesClearsAndReopensThePlaylist)
{
    const QString firstClip = clip(QStringLiteral("First"), 20);
    const QString secondClip = clip(QStringLiteral("Second"), 20);
    Player &player = startPlayer({firstClip, secondClip});
    ASSERT_TRUE(waitForStart(player, 20));
    ASSERT_TRUE(waitForRows(player, 2));

    // Files > Save on a list never saved asks where to save it.
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+f"))) << "the Files menu opens";
    player.key(QStringLiteral("s"));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Save Playlist As")).isEmpty());
    const QString saved = m_desktop.home() + QStringLiteral("/evening.ovl");
    player.type(saved);
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Save Playlist As")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(saved); }, 5000)) << "the list is saved";
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(firstClip) && text.contains(secondClip)) << text.toStdString();

    player.activate();
    player.key(QStringLiteral("ctrl+Delete"));
    EXPECT_TRUE(waitForRows(player, 0)) << "Clear empties the list";
    EXPECT_TRUE(waitUntil([&] { return player.statusText() == QStringLiteral("Ready"); }, 5000))
        << "and stops: " << player.statusText().toStdString();

    ASSERT_TRUE(player.keyForPopup(QStringLiteral("ctrl+o"))) << "the open dialog opens";
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Open Media")).isEmpty());
    player.type(saved);
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(waitForRows(player, 2)) << "the saved list comes back";
    EXPECT_TRUE(waitForStart(player, 20))
        << "and plays from its first item: " << player.statusText().toStdString();
}

// Removing what plays is a stop: nothing else of the list starts instead.
// (Clear goes the same way, and leaves nothing that could start.)
TEST_P(Playlist, DeletingThePlayingItemStopsPlayback)
{
    Player &player =
        startPlayer({clip(QStringLiteral("First"), 20), clip(QStringLiteral("Second"), 20),
                     clip(QStringLiteral("Third"), 20)});
    ASSERT_TRUE(waitForStart(player, 20));
    ASSERT_TRUE(waitForRows(player, 3));
    const auto staysStopped = [&] {
        return waitUntil([&] { return player.statusText() == QStringLiteral("Ready"); }, 5000) &&
               !waitUntil([&] { return player.statusText() != QStringLiteral("Ready"); }, 2000);
    };

    player.activate();
    player.key(QStringLiteral("Delete"));
    ASSERT_TRUE(waitForRows(player, 2)) << "Delete removes the playing item";
    EXPECT_TRUE(staysStopped()) << "and stops: " << player.statusText().toStdString();
    EXPECT_NE(player.playerctl({QStringLiteral("status")}), QStringLiteral("Playing"));
}

INSTANTIATE_TEST_SUITE_P(Engines, Playlist, ::testing::ValuesIn(kEngines),
                         [](const auto &engine) { return std::string(engine.param.name); });

using Desk = DesktopTest;

TEST_F(Desk, TheVolumeSliderSetsTheSoundServersVolume)
{
    Player &player = startPlayer({mp3Clip(QStringLiteral("First"), 20)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    const QRect slider = player.accessibility().extents(player.control(QStringLiteral("Volume")));
    ASSERT_FALSE(slider.isEmpty());

    player.click(alongSlider(slider, 0.3));
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume(m_desktop) - 30) <= 6; }, 5000))
        << "a click at 30 % of the slider: the sink is at " << sinkVolume(m_desktop) << " %";
    player.drag(alongSlider(slider, 0.3), alongSlider(slider, 0.8));
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume(m_desktop) - 80) <= 6; }, 5000))
        << "dragged to 80 %: the sink is at " << sinkVolume(m_desktop) << " %";
    player.scroll(alongSlider(slider, 0.5), -2);
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume(m_desktop) - 68) <= 3; }, 5000))
        << "two wheel notches down take 12 %: the sink is at " << sinkVolume(m_desktop) << " %";
}

TEST_F(Desk, ABrokenFileIsReportedAndTheRestPlays)
{
    const QString broken = brokenMp3();
    Player &player = startPlayer({broken, mp3Clip(QStringLiteral("First"), 20)});
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Could Not Add"), 30000).isEmpty())
        << "the error log comes up";

    AtSpi &atspi = player.accessibility();
    const Accessible app = atspi.application(player.pid());
    const Accessible log = atspi.findByName(app, QStringLiteral("Could Not Add"));
    const QStringList failed = atspi.columnTexts(atspi.findByRole(log, QStringLiteral("tree")));
    EXPECT_EQ(failed.size(), 1) << failed.join(u'\n').toStdString();
    EXPECT_TRUE(!failed.isEmpty() && failed.first().contains(QStringLiteral("e2e-broken.mp3")))
        << failed.join(u'\n').toStdString();
    EXPECT_FALSE(player.statusText().isEmpty()) << "the window answers while the log is shown";

    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Could Not Add")));
    EXPECT_TRUE(waitForStart(player, 20))
        << "the good file plays: " << player.statusText().toStdString();
    EXPECT_EQ(player.playlist().size(), 1);
}

// The info button asks the engine that plays for what it says of the media:
// the item's title and the information box follow it. With nothing
// loaded there is nothing to ask, and the user is told so.
TEST_F(Desk, InfoRefreshesTheItemFromThePlayingEngine)
{
    const QString list = m_folder.path() + QStringLiteral("/kept.ovl");
    playlist::PlayListItem item;
    item.MEDIATYPE = playlist::kMediaWmp;
    item.FILENAME = QStringLiteral("file://") + mp3Clip(QStringLiteral("First"), 20);
    item.TITLE = QStringLiteral("Kept");
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((playlist::ovl::kHeader + playlist::ovl::kWrittenVersion + playlist::ovl::kLineEnd +
                playlist::ovl::formatItemLine(item) + playlist::ovl::kLineEnd)
                   .toUtf8());
    file.close();

    Player &player = startPlayer({list});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    ASSERT_EQ(player.playlist(), QStringList{QStringLiteral("Kept")});
    const int windows = player.visibleWindows();
    ASSERT_TRUE(clickControl(player, QStringLiteral("Get media information")));
    EXPECT_TRUE(
        waitUntil([&] { return player.playlist() == QStringList{QStringLiteral("First")}; }, 5000))
        << player.playlist().join(u'|').toStdString();
    AtSpi &atspi = player.accessibility();
    const Accessible app = atspi.application(player.pid());
    EXPECT_TRUE(atspi.text(atspi.findByRole(app, QStringLiteral("text")))
                    .contains(QStringLiteral("First")));
    EXPECT_EQ(player.visibleWindows(), windows) << "no message box";

    player.key(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == QStringLiteral("Ready"); }, 5000));
    ASSERT_TRUE(clickControl(player, QStringLiteral("Get media information")));
    EXPECT_TRUE(waitUntil(
        [&] {
            return atspi
                .findByNamePattern(app, QRegularExpression(QStringLiteral("^Nothing is loaded.*")))
                .isValid();
        },
        5000))
        << "with nothing loaded the user is told so";
}
