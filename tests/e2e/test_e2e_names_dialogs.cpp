// A new user's first hour: files named the way a shell and a file chooser
// name them (relative to where the user is, "~/..."), a playlist saved
// under a bare name, the chooser's filters and adding a whole folder.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/media.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QFile>

using namespace orvane::e2e;

namespace {

QStringList sine(double seconds)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=500:duration=%1").arg(seconds)};
}

QString oggClip()
{
    return orvane::test::generatedMedia(
        QStringLiteral("e2e-names-20s.ogg"),
        sine(20) + QStringList{QStringLiteral("-c:a"), QStringLiteral("libvorbis")});
}

QString wavClip()
{
    return orvane::test::generatedMedia(
        QStringLiteral("e2e-names-20s.wav"),
        sine(20) + QStringList{QStringLiteral("-c:a"), QStringLiteral("pcm_s16le")});
}

class Names : public DesktopTest
{
protected:
    // A folder of the desktop's home holding copies of the files, each
    // under the name it is given.
    QString folderWith(const QString &name, const QList<std::pair<QString, QString>> &files)
    {
        const QString folder = m_desktop.home() + u'/' + name;
        EXPECT_TRUE(QDir().mkpath(folder));
        for (const auto &[fileName, source] : files) {
            EXPECT_FALSE(source.isEmpty()) << "no media for " << fileName.toStdString();
            EXPECT_TRUE(QFile::copy(source, folder + u'/' + fileName)) << fileName.toStdString();
        }
        return folder;
    }

    Player &startIn(const QString &folder, const QStringList &args)
    {
        m_players.push_back(std::make_unique<Player>(m_desktop, m_folder));
        Player &player = *m_players.back();
        player.setWorkingDirectory(folder);
        EXPECT_TRUE(player.start(args));
        EXPECT_FALSE(player.window().isEmpty()) << "no main window";
        return player;
    }

    static bool waitForRows(Player &player, qsizetype rows, int timeoutMs = 20000)
    {
        return waitUntil(
                   [&] {
                       return player.playlist().size() == rows ||
                              !player.waitForWindow(QStringLiteral("^Could Not Add"), 1).isEmpty();
                   },
                   timeoutMs, 200) &&
               player.playlist().size() == rows;
    }

    // Types a location into the open dialog and opens it.
    static bool openTyped(Player &player, const QString &text)
    {
        player.activate();
        if (!player.keyForPopup(QStringLiteral("ctrl+o")) ||
            player.waitForActiveWindow(QStringLiteral("^Open Media")).isEmpty())
            return false;
        player.type(text);
        player.key(QStringLiteral("Return"));
        return player.waitForNoWindow(QStringLiteral("^Open Media"));
    }
};

// Every name below root, breadth first, as a screen reader would list them.
QStringList namesBelow(AtSpi &atspi, const Accessible &root, int limit = 3000)
{
    QStringList names;
    QList<Accessible> queue{root};
    for (int seen = 0; !queue.isEmpty() && seen < limit; ++seen) {
        const Accessible object = queue.takeFirst();
        names.append(atspi.name(object));
        queue.append(atspi.children(object));
    }
    return names;
}

bool anyStartsWith(const QStringList &names, const QString &start)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const QString &name) { return name.startsWith(start); });
}

} // namespace

TEST_F(Names, RelativeNamesOfEitherStartAreFilesInTheFolderGiven)
{
    const QString music = folderWith(QStringLiteral("music"),
                                     {{QStringLiteral("a.mp3"), mp3Clip(QStringLiteral("A"), 20)},
                                      {QStringLiteral("c.ogg"), oggClip()}});
    const QString other =
        folderWith(QStringLiteral("other"), {{QStringLiteral("b.wav"), wavClip()}});

    Player &first = startIn(music, {QStringLiteral("a.mp3"), QStringLiteral("c.ogg")});
    EXPECT_TRUE(waitForRows(first, 2)) << "both names of the folder started in are added";
    EXPECT_TRUE(waitForStart(first, 20)) << first.statusText().toStdString();

    // The second start is made elsewhere: its name is a file of its folder.
    Player second(m_desktop, m_folder);
    second.setWorkingDirectory(other);
    ASSERT_TRUE(second.start({QStringLiteral("b.wav")}));
    EXPECT_EQ(second.waitForExit(15000), 0) << second.log().toStdString();
    EXPECT_TRUE(waitForRows(first, 3)) << "the handed-over name joins the list";
    EXPECT_TRUE(first.waitForWindow(QStringLiteral("^Could Not Add"), 1).isEmpty());
}

TEST_F(Names, NamesWithQuotesHashesAndPercentsPlayFromEitherStart)
{
    // Untagged clips, so the playlist shows each name as it reached the list.
    const QString first = QStringLiteral("a b \"c\" #1 100% ñ 日本");
    const QString second = QStringLiteral("d \"e f\" #2 50%off ü 東京");
    const QString longer = orvane::test::generatedMedia(
        QStringLiteral("e2e-names-21s.ogg"),
        sine(21) + QStringList{QStringLiteral("-c:a"), QStringLiteral("libvorbis")});
    const QString music =
        folderWith(QStringLiteral("music"), {{first + QStringLiteral(".wav"), wavClip()},
                                             {second + QStringLiteral(".ogg"), longer}});

    Player &player = startIn(m_desktop.home(), {music + u'/' + first + QStringLiteral(".wav")});
    ASSERT_TRUE(waitForRows(player, 1));
    EXPECT_TRUE(waitForStart(player, 20)) << player.statusText().toStdString();

    Player again(m_desktop, m_folder);
    again.setWorkingDirectory(music);
    ASSERT_TRUE(again.start({second + QStringLiteral(".ogg")}));
    EXPECT_EQ(again.waitForExit(15000), 0) << again.log().toStdString();
    ASSERT_TRUE(waitForRows(player, 2)) << player.log().toStdString();
    EXPECT_EQ(player.playlist(), QStringList({first, second}));
    EXPECT_TRUE(player.waitForWindow(QStringLiteral("^Could Not Add"), 1).isEmpty());

    // The handed-over file plays too.
    player.playerctl({QStringLiteral("next")});
    EXPECT_TRUE(waitForStart(player, 21)) << player.statusText().toStdString();
}

TEST_F(Names, ATypedNameIsAFileWhereTheUserIs)
{
    const QString music =
        folderWith(QStringLiteral("music"), {{QStringLiteral("b.wav"), wavClip()}});
    Player &player = startIn(music, {});
    ASSERT_TRUE(openTyped(player, QStringLiteral("b.wav")));
    EXPECT_TRUE(waitForRows(player, 1)) << "a bare name is a file of the current folder";
    EXPECT_TRUE(player.waitForWindow(QStringLiteral("^Could Not Add"), 1).isEmpty());
}

TEST_F(Names, ATypedTildeIsTheHomeFolder)
{
    const QString music = folderWith(QStringLiteral("music"), {});
    ASSERT_TRUE(
        QFile::copy(mp3Clip(QStringLiteral("X"), 20), m_desktop.home() + QStringLiteral("/x.mp3")));
    Player &player = startIn(music, {});
    ASSERT_TRUE(openTyped(player, QStringLiteral("~/x.mp3")));
    EXPECT_TRUE(waitForRows(player, 1)) << "\"~/\" is the home folder";
    EXPECT_TRUE(player.waitForWindow(QStringLiteral("^Could Not Add"), 1).isEmpty());
}

TEST_F(Names, APlaylistSavedUnderABareNameOpensAgain)
{
    Player &player = startIn(m_desktop.home(), {mp3Clip(QStringLiteral("First"), 20)});
    ASSERT_TRUE(waitForRows(player, 1));

    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+f")));
    player.key(QStringLiteral("s"));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Save Playlist As")).isEmpty());
    player.type(m_desktop.home() + QStringLiteral("/evening"));
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Save Playlist As")));
    const QString saved = m_desktop.home() + QStringLiteral("/evening.ovl");
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(saved); }, 5000))
        << "the playlist's extension is added";
    EXPECT_FALSE(QFile::exists(m_desktop.home() + QStringLiteral("/evening")));

    player.activate();
    player.key(QStringLiteral("ctrl+Delete"));
    ASSERT_TRUE(waitForRows(player, 0));
    ASSERT_TRUE(openTyped(player, saved));
    EXPECT_TRUE(waitForRows(player, 1)) << "the saved list opens";
}

TEST_F(Names, TheChooserShowsMediaAndPlaylistsAndOffersEveryFile)
{
    const QString box = folderWith(QStringLiteral("box"),
                                   {{QStringLiteral("song.mp3"), mp3Clip(QStringLiteral("A"), 20)},
                                    {QStringLiteral("mix.m3u"), wavClip()},
                                    {QStringLiteral("notes.txt"), wavClip()}});
    Player &player = startIn(m_desktop.home(), {});
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("ctrl+o")));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Open Media")).isEmpty());
    player.type(box + u'/');
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+b")));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Choose Media")).isEmpty());

    AtSpi &atspi = player.accessibility();
    const Accessible app = atspi.application(player.pid());
    const Accessible chooser = atspi.findByName(app, QStringLiteral("Choose Media or a Playlist"));
    ASSERT_TRUE(chooser.isValid());
    QStringList names;
    EXPECT_TRUE(waitUntil(
        [&] {
            names = namesBelow(atspi, chooser);
            return names.contains(QStringLiteral("song.mp3")) &&
                   names.contains(QStringLiteral("mix.m3u"));
        },
        10000))
        << "the first filter shows media and playlists:\n"
        << names.join(u'\n').toStdString();
    EXPECT_FALSE(names.contains(QStringLiteral("notes.txt")));
    EXPECT_TRUE(anyStartsWith(names, QStringLiteral("All Media (*.ovl *.m3u *.m3u8 *.ram *.asx")))
        << names.join(u'\n').toStdString();

    // The filter list, opened and walked to its end, as a user picks from it.
    const Accessible filter = atspi.findByName(
        chooser, *std::find_if(names.begin(), names.end(), [](const QString &name) {
            return name.startsWith(QStringLiteral("All Media ("));
        }));
    ASSERT_TRUE(filter.isValid());
    player.click(atspi.extents(filter).center());
    player.key(QStringLiteral("End"));
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(waitUntil(
        [&] {
            names = namesBelow(atspi, chooser);
            return names.contains(QStringLiteral("notes.txt"));
        },
        10000))
        << "the last filter shows every file:\n"
        << names.join(u'\n').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("All files (*)")));
    EXPECT_TRUE(anyStartsWith(names, QStringLiteral("Playlists (*.ovl *.m3u *.m3u8 *.ram *.asx)")))
        << names.join(u'\n').toStdString();
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Choose Media")));
}

TEST_F(Names, AFolderIsAddedFromTheOpenDialog)
{
    const QString album = folderWith(QStringLiteral("album"),
                                     {{QStringLiteral("1.mp3"), mp3Clip(QStringLiteral("A"), 20)},
                                      {QStringLiteral("2.ogg"), oggClip()},
                                      {QStringLiteral("cover.txt"), wavClip()}});
    Player &player = startIn(m_desktop.home(), {});
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("ctrl+o")));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Open Media")).isEmpty());
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+f"))) << "a folder can be chosen";
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Choose a Folder")).isEmpty());
    player.type(album);
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Choose a Folder")));
    EXPECT_TRUE(waitForRows(player, 2)) << "the folder's media are added";
    EXPECT_TRUE(waitForStart(player, 20)) << player.statusText().toStdString();
}
