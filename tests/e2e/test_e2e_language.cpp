// A new user picks Japanese by the file's name in setting.ini and reads the
// window: headers, hints, menu bar and the error log must all be in the
// language and fit; in English the hints are words a user reads right and an
// untagged file is listed under its own name.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/media.h"
#include "tests/support/qtprint.h"

using namespace orvane::e2e;

namespace {

class Language : public DesktopTest
{
protected:
    // Looked at by a developer after a run: what the user sees, kept.
    void keepScreenshot(const char *name)
    {
        m_desktop.screenshot(QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/language-") +
                             QString::fromLatin1(name) + QStringLiteral(".png"));
    }

    Player &startInJapanese(const QStringList &args)
    {
        writeSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n");
        return startPlayer(args);
    }

    Accessible application(Player &player)
    {
        return player.accessibility().application(player.pid());
    }

    // The playlist view's column headers, as a screen reader names them.
    QStringList headers(Player &player)
    {
        AtSpi &atspi = player.accessibility();
        const Accessible tree = atspi.findByRole(application(player), QStringLiteral("tree"));
        QStringList names;
        const QList<Accessible> cells = atspi.children(tree);
        for (qsizetype i = 0; i < cells.size() && i < 3; ++i)
            names << atspi.name(cells[i]);
        return names;
    }
};

std::string describe(const QRect &box)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(box.x())
        .arg(box.y())
        .arg(box.width())
        .arg(box.height())
        .toStdString();
}

// Without tags: nothing in the file names it but its file name.
QString untaggedWav()
{
    return orvane::test::generatedMedia(
        QStringLiteral("e2e-evening-walk.wav"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=330:duration=20"), QStringLiteral("-map_metadata"),
         QStringLiteral("-1"), QStringLiteral("-fflags"), QStringLiteral("+bitexact")});
}

} // namespace

TEST_F(Language, AFileNameInTheSettingsPicksTheLanguageOfEveryText)
{
    Player &player = startInJapanese({untaggedWav()});
    ASSERT_TRUE(waitUntil([&] { return player.playlist().size() == 1; }));
    keepScreenshot("japanese-main");

    EXPECT_EQ(headers(player), (QStringList{QStringLiteral("タイトル"), QStringLiteral("作者"),
                                            QStringLiteral("ファイル")}));
    AtSpi &atspi = player.accessibility();
    EXPECT_TRUE(atspi.findByName(application(player), QStringLiteral("情報")).isValid())
        << "the information panel's frame";
    for (const char *hint : {"再生", "一時停止", "停止", "前へ", "次へ", "消音", "音量",
                             "メディアを開く", "プレイリストから削除", "メディア情報を取得"})
        EXPECT_TRUE(player.control(QString::fromUtf8(hint)).isValid()) << "hint " << hint;
    EXPECT_FALSE(player.control(QStringLiteral("Play")).isValid()) << "no English hint is left";
}

TEST_F(Language, TheJapaneseMenuBarFitsTheWindowAtItsFirstSize)
{
    Player &player = startInJapanese({});
    AtSpi &atspi = player.accessibility();
    const Accessible bar = atspi.findByRole(application(player), QStringLiteral("menu bar"));
    ASSERT_TRUE(bar.isValid());
    const QRect barBox = atspi.extents(bar);
    const QList<Accessible> menus = atspi.children(bar);
    ASSERT_EQ(menus.size(), 6) << "Files, Play, Playlist, Controls, Options, Help";
    EXPECT_EQ(atspi.name(menus.first()), QStringLiteral("ファイル(F)"));
    keepScreenshot("japanese-menubar");
    for (const Accessible &menu : menus) {
        const QRect box = atspi.extents(menu);
        EXPECT_TRUE(!box.isEmpty() && barBox.contains(box))
            << atspi.name(menu).toStdString() << " at " << describe(box) << " outside the bar "
            << describe(barBox);
    }

    // The last menu opens from the bar itself, not from an overflow button.
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+h"))) << "the Help menu opens";
    keepScreenshot("japanese-helpmenu");
    player.key(QStringLiteral("Escape"));
}

TEST_F(Language, TheJapaneseErrorLogShowsAllOfItsExplanation)
{
    Player &player = startInJapanese({brokenMp3()});
    const QString caption = QStringLiteral("追加できなかったファイル");
    ASSERT_FALSE(player.waitForActiveWindow(u'^' + caption, 30000).isEmpty());
    keepScreenshot("japanese-errorlog");

    AtSpi &atspi = player.accessibility();
    const Accessible log = atspi.findByName(application(player), caption);
    EXPECT_EQ(atspi.name(atspi.children(atspi.findByRole(log, QStringLiteral("tree"))).value(0)),
              QStringLiteral("ファイルのパス"))
        << "the list's header";
    // A text box grows a scroll bar exactly when its text does not fit.
    const Accessible text = atspi.findByRole(log, QStringLiteral("text"));
    ASSERT_TRUE(text.isValid());
    EXPECT_GT(atspi.characterCount(text), 40);
    for (const Accessible &part : atspi.children(text))
        for (const Accessible &inner : atspi.children(part))
            EXPECT_FALSE(atspi.role(inner) == QStringLiteral("scroll bar") &&
                         !atspi.extents(inner).isEmpty())
                << "the explanation is cut off: its box scrolls";
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(player.waitForNoWindow(u'^' + caption));
}

TEST_F(Language, TheJapaneseOpenDialogNamesTheDiscOfTheDriveChosen)
{
    writeSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n[Drives]\r\n"
                  "X=/nowhere/disc.cue\r\n");
    Player &player = startPlayer({});
    player.activate();
    const QString caption = QStringLiteral("メディアを開く");
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("ctrl+o")));
    ASSERT_FALSE(player.waitForActiveWindow(u'^' + caption).isEmpty());
    player.key(QStringLiteral("alt+s"));
    player.key(QStringLiteral("Down"));
    player.key(QStringLiteral("Down"));

    AtSpi &atspi = player.accessibility();
    const Accessible dialog = atspi.findByName(application(player), caption);
    const Accessible path = atspi.findByRole(dialog, QStringLiteral("text"));
    EXPECT_TRUE(waitUntil([&] { return atspi.text(path) == u"VideoCD://X:"; }, 5000))
        << atspi.text(path).toStdString();
    EXPECT_TRUE(atspi.findByName(dialog, QStringLiteral("ビデオ CD")).isValid());
    EXPECT_TRUE(atspi.findByName(dialog, QStringLiteral("X:  /nowhere/disc.cue")).isValid())
        << "the drive list says what the letter is";
    keepScreenshot("japanese-opendialog-vcd");
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(player.waitForNoWindow(u'^' + caption));
}

TEST_F(Language, HintsReadAsWordsAndAnUntaggedFileShowsItsName)
{
    Player &player = startPlayer({untaggedWav()});
    ASSERT_TRUE(waitUntil([&] { return !player.playlist().isEmpty(); }));
    EXPECT_EQ(player.playlist(), QStringList{QStringLiteral("e2e-evening-walk")});
    keepScreenshot("english-main");

    for (const char *hint : {"Play", "Pause", "Stop", "Previous", "Next", "Mute", "Volume",
                             "Open media", "Save playlist", "Add media", "Remove from playlist",
                             "Clear playlist", "Move down", "Move up", "Get media information"})
        EXPECT_TRUE(player.control(QString::fromLatin1(hint)).isValid()) << "hint " << hint;
    EXPECT_FALSE(player.control(QStringLiteral("DELETE FILE")).isValid());
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Playing")))
        << "the status line is found by its hint too: " << player.statusText().toStdString();
}
