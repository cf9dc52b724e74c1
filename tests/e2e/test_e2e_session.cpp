// A user quits and starts the player again: the window comes back where
// and as large as it was, and so does the playlist, unless the start names
// files of its own or the user asked the options not to keep it.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QRegularExpression>

using namespace orvane::e2e;

namespace {

struct Geometry {
    QPoint position;
    QSize size;
    bool operator==(const Geometry &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Geometry &g)
{
    return out << g.size.width() << 'x' << g.size.height() << '+' << g.position.x() << '+'
               << g.position.y();
}

class Session : public DesktopTest
{
protected:
    // Where the window manager has the main window, as xdotool reports it.
    Geometry geometry(Player &player)
    {
        const QRect g = player.geometry();
        return {g.topLeft(), g.size()};
    }

    bool waitForGeometry(Player &player, const Geometry &wanted, int timeoutMs = 10000)
    {
        return waitUntil([&] { return geometry(player) == wanted; }, timeoutMs, 100);
    }

    bool waitForRows(Player &player, const QStringList &rows, int timeoutMs = 20000)
    {
        return waitUntil([&] { return player.playlist() == rows; }, timeoutMs, 200);
    }

    // Files > Quit, and the program ends.
    void quit(Player &player)
    {
        ASSERT_TRUE(quitFromTheFilesMenu(player)) << player.log().toStdString();
    }

    // Options > Orvane Options; false when the dialog does not come.
    bool openOptions(Player &player, const QString &title)
    {
        player.activate();
        if (!player.keyForPopup(QStringLiteral("alt+o")))
            return false;
        player.key(QStringLiteral("o"));
        return !player.waitForActiveWindow(u'^' + title).isEmpty();
    }

    // Looked at by a developer after a run: what the user sees, kept.
    void keepScreenshot(const char *name)
    {
        m_desktop.screenshot(QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/session-") +
                             QString::fromLatin1(name) + QStringLiteral(".png"));
    }

    // A first run that leaves a playlist of two files behind.
    void runWithTwoFiles()
    {
        Player &player = startPlayer(
            {mp3Clip(QStringLiteral("First"), 20), mp3Clip(QStringLiteral("Second"), 20)});
        ASSERT_TRUE(waitForRows(player, {QStringLiteral("First"), QStringLiteral("Second")}))
            << player.playlist().join(u'|').toStdString();
        quit(player);
    }
};

} // namespace

TEST_F(Session, TheWindowComesBackAtItsSizeAndPlace)
{
    Player &first = startPlayer();
    const Geometry wanted{{140, 70}, {800, 900}};
    const QString id = first.window();
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("windowsize"), QStringLiteral("--sync"), id,
                   QStringLiteral("800"), QStringLiteral("900")});
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("windowmove"), QStringLiteral("--sync"), id,
                   QStringLiteral("140"), QStringLiteral("70")});
    // The window manager places the frame, the client sits inside it.
    ASSERT_TRUE(waitUntil([&] { return geometry(first).size == wanted.size; }, 10000))
        << geometry(first);
    const Geometry before = geometry(first);
    quit(first);

    Player &second = startPlayer();
    EXPECT_TRUE(waitForGeometry(second, before))
        << "came back " << geometry(second) << ", was " << before;
}

TEST_F(Session, TheLastPlaylistIsThereAtTheNextStart)
{
    ASSERT_NO_FATAL_FAILURE(runWithTwoFiles());

    Player &player = startPlayer();
    EXPECT_TRUE(waitForRows(player, {QStringLiteral("First"), QStringLiteral("Second")}))
        << player.playlist().join(u'|').toStdString();
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == QStringLiteral("Ready"); }))
        << player.statusText().toStdString();
    EXPECT_FALSE(
        waitUntil([&] { return player.statusText().contains(QStringLiteral("Playing")); }, 2000))
        << "kept, not played";
}

TEST_F(Session, FilesOnTheCommandLineTakeThePlaceOfTheLastPlaylist)
{
    ASSERT_NO_FATAL_FAILURE(runWithTwoFiles());

    Player &given = startPlayer({mp3Clip(QStringLiteral("Third"), 20)});
    EXPECT_TRUE(waitForRows(given, {QStringLiteral("Third")}))
        << given.playlist().join(u'|').toStdString();
    quit(given);

    // What that start played is now the list to come back.
    Player &after = startPlayer();
    EXPECT_TRUE(waitForRows(after, {QStringLiteral("Third")}))
        << after.playlist().join(u'|').toStdString();
}

TEST_F(Session, TheOptionsCanSayNotToKeepIt)
{
    ASSERT_NO_FATAL_FAILURE(runWithTwoFiles());
    Player &second = startPlayer();
    ASSERT_TRUE(waitForRows(second, {QStringLiteral("First"), QStringLiteral("Second")}))
        << "kept while the option is on";

    // Options > Orvane Options, untick the box, OK.
    ASSERT_TRUE(openOptions(second, QStringLiteral("Orvane Options"))) << "the dialog opens";
    keepScreenshot("options-english");
    AtSpi &atspi = second.accessibility();
    const Accessible app = atspi.application(second.pid());
    const Accessible box =
        atspi.findByName(app, QStringLiteral("Reopen the last playlist when Orvane starts"));
    ASSERT_TRUE(box.isValid()) << "the check box is there";
    second.click(centreOf(atspi.extents(box)));
    const Accessible ok = atspi.findByName(atspi.findByName(app, QStringLiteral("Orvane Options")),
                                           QStringLiteral("OK"));
    ASSERT_TRUE(ok.isValid());
    second.click(centreOf(atspi.extents(ok)));
    ASSERT_TRUE(second.waitForNoWindow(QStringLiteral("^Orvane Options")));
    quit(second);
    QFile ini(m_folder.settingsFile());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Restore Playlist=False"));

    Player &third = startPlayer();
    // Ready once the window has loaded, and the list with it.
    ASSERT_TRUE(waitUntil([&] { return third.statusText() == QStringLiteral("Ready"); }));
    EXPECT_TRUE(third.playlist().isEmpty()) << third.playlist().join(u'|').toStdString();
}

TEST_F(Session, TheOptionsBoxReadsInJapaneseAndFits)
{
    writeSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n");
    Player &player = startPlayer();
    const QString title = QStringLiteral("Orvane のオプション");
    ASSERT_TRUE(openOptions(player, title)) << "the dialog opens";
    keepScreenshot("options-japanese");
    AtSpi &atspi = player.accessibility();
    const Accessible dialog = atspi.findByName(atspi.application(player.pid()), title);
    const Accessible box =
        atspi.findByName(dialog, QStringLiteral("起動時に前回のプレイリストを開く(E)"));
    ASSERT_TRUE(box.isValid()) << "captioned from the language file";
    const QRect shown = atspi.extents(box);
    EXPECT_TRUE(atspi.extents(dialog).contains(shown)) << "the whole caption is on the dialog";
}
