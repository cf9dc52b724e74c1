// A user whose desktop sets the volume and shows the player in its sound
// applet: the volume stays where the desktop put it, the applet speaks of
// the item that plays, and a second start finds the window again.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/media.h"
#include "tests/support/qtprint.h"

#include <QRegularExpression>

using namespace orvane::e2e;

namespace {

class MixerMpris : public DesktopTest
{
protected:
    // The null sink's volume in per cent, as the desktop's applet shows it;
    // -1 when pactl does not say.
    int sinkVolume()
    {
        const QString text =
            m_desktop.run(QStringLiteral("pactl"), {QStringLiteral("get-sink-volume"), kSink});
        static const QRegularExpression percent(QStringLiteral("(\\d+)%"));
        const QRegularExpressionMatch match = percent.match(text);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    void setSinkVolume(int percent)
    {
        m_desktop.run(QStringLiteral("pactl"),
                      {QStringLiteral("set-sink-volume"), kSink, QString::number(percent) + u'%'});
    }
    double sliderValue(Player &player)
    {
        return player.accessibility()
            .currentValue(player.control(QStringLiteral("Volume")))
            .value_or(-1);
    }
    double mprisVolume(Player &player)
    {
        bool ok = false;
        const double v = player.playerctl({QStringLiteral("volume")}).toDouble(&ok);
        return ok ? v : -1;
    }
    QString metadata(Player &player, const QString &key)
    {
        return player.playerctl({QStringLiteral("metadata"), key});
    }
    // The playlist cell of the item with that title, as a screen reader
    // finds it.
    Accessible cell(Player &player, const QString &title)
    {
        AtSpi &atspi = player.accessibility();
        const Accessible tree =
            atspi.findByRole(atspi.application(player.pid()), QStringLiteral("tree"));
        return atspi.findByName(tree, title);
    }
    QString markOf(Player &player, const QString &title)
    {
        return player.accessibility().description(cell(player, title));
    }

    const QString kSink = QStringLiteral("orvane_null");
};

QString taggedClip(const QString &fileName, const QString &title, const QString &album,
                   double seconds)
{
    return orvane::test::generatedMedia(
        fileName, {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
                   QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                   QStringLiteral("-metadata"), QStringLiteral("title=") + title,
                   QStringLiteral("-metadata"), QStringLiteral("album=") + album});
}

} // namespace

TEST_F(MixerMpris, TheVolumeStaysWhereTheDesktopPutsIt)
{
    ASSERT_TRUE(m_desktop.pulse().isRunning());
    setSinkVolume(30);
    ASSERT_EQ(sinkVolume(), 30);
    Player &player = startPlayer({kEngines[0].clip(QStringLiteral("First"), 20),
                                  kEngines[0].clip(QStringLiteral("Second"), 20)});
    ASSERT_TRUE(waitForStart(player, 20)) << player.statusText().toStdString();
    EXPECT_TRUE(waitUntil([&] { return std::abs(sliderValue(player) - 300) <= 5; }, 5000))
        << "the slider starts at the desktop's 30 %: " << sliderValue(player);
    EXPECT_EQ(sinkVolume(), 30) << "playing leaves the desktop's volume alone";

    setSinkVolume(55);
    EXPECT_TRUE(waitUntil([&] { return std::abs(sliderValue(player) - 550) <= 5; }, 5000))
        << "a change made in the applet moves the slider: " << sliderValue(player);
    EXPECT_NEAR(mprisVolume(player), 0.55, 0.01) << "and is what MPRIS reads";

    player.activate();
    player.key(QStringLiteral("ctrl+Right"));
    ASSERT_TRUE(waitForStart(player, 21)) << player.statusText().toStdString();
    EXPECT_EQ(sinkVolume(), 55) << "the next item does not undo the applet's change";

    player.playerctl({QStringLiteral("volume"), QStringLiteral("0.2")});
    EXPECT_TRUE(waitUntil([&] { return sinkVolume() == 20; }, 5000))
        << "an MPRIS write sets the mixer: " << sinkVolume() << " %";
    EXPECT_TRUE(waitUntil([&] { return std::abs(sliderValue(player) - 200) <= 5; }, 5000))
        << "and the slider shows it: " << sliderValue(player);
}

TEST_F(MixerMpris, TheAppletAndTheListSpeakOfTheItemThatPlays)
{
    Player &player = startPlayer({kEngines[0].clip(QStringLiteral("First"), 20),
                                  kEngines[0].clip(QStringLiteral("Second"), 20),
                                  kEngines[0].clip(QStringLiteral("Third"), 20)});
    ASSERT_TRUE(waitForStart(player, 20)) << player.statusText().toStdString();
    ASSERT_TRUE(waitUntil([&] { return player.playlist().size() == 3; }, 15000, 200));
    EXPECT_TRUE(
        waitUntil([&] { return markOf(player, QStringLiteral("First")) == u"Playing"; }, 5000))
        << "the item that plays is marked";
    EXPECT_EQ(markOf(player, QStringLiteral("Second")), QString());

    const QRect second = player.accessibility().extents(cell(player, QStringLiteral("Second")));
    ASSERT_FALSE(second.isEmpty());
    player.click(centreOf(second));
    ASSERT_TRUE(waitForStart(player, 21)) << "a click plays the item";
    player.key(QStringLiteral("Down")); // highlights Third, plays nothing
    EXPECT_TRUE(waitUntil([&] { return player.playlist().size() == 3; }, 2000));
    EXPECT_TRUE(
        waitUntil([&] { return markOf(player, QStringLiteral("Second")) == u"Playing"; }, 5000));
    EXPECT_EQ(markOf(player, QStringLiteral("Third")), QString())
        << "the highlighted row is not the one that plays";
    EXPECT_EQ(markOf(player, QStringLiteral("First")), QString()) << "the mark moved on";
    EXPECT_EQ(metadata(player, QStringLiteral("xesam:title")), QStringLiteral("Second"))
        << "the applet names the item that plays, not the highlighted one";
    EXPECT_GT(shownPosition(player), 0.0);
}

TEST_F(MixerMpris, TheAppletGetsLengthAlbumUrlAndRepeat)
{
    const QString clip = taggedClip(QStringLiteral("e2e night drive.mp3"),
                                    QStringLiteral("Night Drive"), QStringLiteral("Evenings"), 3);
    Player &player = startPlayer({clip});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    player.playerctl({QStringLiteral("loop"), QStringLiteral("Playlist")});
    EXPECT_EQ(player.playerctl({QStringLiteral("loop")}), QStringLiteral("Playlist"));

    EXPECT_NEAR(metadata(player, QStringLiteral("mpris:length")).toLongLong(), 3000000, 200000);
    EXPECT_EQ(metadata(player, QStringLiteral("xesam:album")), QStringLiteral("Evenings"));
    const QString url = metadata(player, QStringLiteral("xesam:url"));
    EXPECT_TRUE(url.startsWith(u"file:///") && url.endsWith(u"/e2e%20night%20drive.mp3"))
        << url.toStdString();

    player.playerctl({QStringLiteral("shuffle"), QStringLiteral("On")});
    EXPECT_EQ(player.playerctl({QStringLiteral("shuffle")}), QStringLiteral("Off"))
        << "there is no shuffle to switch on";
    const QString types = m_desktop.run(
        QStringLiteral("gdbus"),
        {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
         QStringLiteral("org.mpris.MediaPlayer2.orvane"), QStringLiteral("--object-path"),
         QStringLiteral("/org/mpris/MediaPlayer2"), QStringLiteral("--method"),
         QStringLiteral("org.freedesktop.DBus.Properties.Get"),
         QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("SupportedMimeTypes")});
    EXPECT_TRUE(types.contains(u"'audio/mpeg'") &&
                types.contains(u"'application/vnd.rn-realmedia'"))
        << types.toStdString();

    // Repeat-all set from the applet is the player's own: the one item
    // starts again instead of stopping.
    ASSERT_TRUE(waitUntil([&] { return shownPosition(player) > 1.5; }, 5000));
    EXPECT_TRUE(waitUntil(
        [&] {
            return shownPosition(player) < 1.0 &&
                   statusWord(player.statusText()) == QStringLiteral("Playing");
        },
        8000))
        << player.statusText().toStdString();
    player.playerctl({QStringLiteral("loop"), QStringLiteral("None")});
    EXPECT_EQ(player.playerctl({QStringLiteral("loop")}), QStringLiteral("None"));
}

TEST_F(MixerMpris, ASecondStartBringsBackAMinimisedWindow)
{
    Player &player = startPlayer();
    const QString id = player.window();
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return player.visibleWindows() >= 1; }, 5000));
    m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), id});
    ASSERT_TRUE(waitUntil([&] { return player.visibleWindows() == 0; }, 5000))
        << "the window is minimised";

    Player second(m_desktop, m_folder);
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.waitForExit(15000), 0) << second.log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return player.visibleWindows() >= 1; }, 5000))
        << "the running window comes back";
    const QString state = m_desktop.run(
        QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_STATE")});
    EXPECT_FALSE(state.contains(u"_NET_WM_STATE_HIDDEN")) << state.toStdString();
}
