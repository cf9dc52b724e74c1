// Locations: canonical forms, location lists, foreign playlists and the
// engine an extension selects.
#include "playlist/locationlist.h"
#include "playlist/locations.h"

#include "core/commandline.h"
#include "core/filetypes.h"
#include "core/instancemessage.h"
#include "core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane::playlist;
using orvane::core::kBuiltinRealFileTypes;
using orvane::core::kBuiltinWmpFileTypes;

namespace {

QString q(const char16_t *text)
{
    return QString::fromUtf16(text);
}

QStringList locationsOf(const LocationTable &table)
{
    QStringList result;
    for (const LocationEntry &entry : table)
        result << entry.location;
    return result;
}

class ForeignPlaylists : public ::testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

TEST(Locations, FileAndFolderParts)
{
    struct Case {
        const char16_t *path, *name, *folder;
    };
    const Case cases[] = {
        {u"/music/a.mp3", u"a.mp3", u"/music/"},
        {u"C:\\dir/x\\a.mp3", u"a.mp3", u"C:\\dir/x\\"}, // "\" wins when present
        {u"a.mp3", u"a.mp3", u""},
        {u"/music/", u"", u"/music/"},
        {u"AudioCD://D:/3/", u"", u"AudioCD://D:/3/"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FileNamePart(q(c.path)), q(c.name)) << q(c.path).toStdString();
        EXPECT_EQ(FolderPart(q(c.path)), q(c.folder)) << q(c.path).toStdString();
    }
}

TEST(Locations, NormaliseLocation)
{
    struct Case {
        const char16_t *location, *base;
        bool noPrefix;
        const char16_t *prefix;
        int mode;
        const char16_t *result, *scheme;
    };
    const Case cases[] = {
        {u"\"/home/me/My Music/a.mp3\"", u"", false, u"", 0, u"file:///home/me/My Music/a.mp3",
         u"file://"},
        {u"  \" \"/x/a b.mp3\" \"  ", u"", false, u"", 0, u"file:///x/a b.mp3", u"file://"},
        {u"\"C:\\My Music\\a.mp3\"", u"", false, u"", 0, u"file://C:/My Music/a.mp3", u"file://"},
        {u"/home/me/a.mp3", u"", true, u"", 0, u"/home/me/a.mp3", u"file://"},
        {u"FILE:///home/me/a.mp3", u"", true, u"", 0, u"/home/me/a.mp3", u"file://"},
        {u"http://host/dir\\a.asf", u"", false, u"", 0, u"http://host/dir/a.asf", u""},
        {u"AudioCD://D:/3/", u"", false, u"", 0, u"AudioCD://D:/3/", u"AudioCD://"},
        {u"VideoCD://D:/1/", u"", false, u"", 0, u"VideoCD://D:/1/", u"VideoCD://"},
        {u"AudioCD://D:/", u"", true, u"", 2, u"D:", u"AudioCD://"},
        {u"VideoCD://E:/2/", u"", true, u"", 1, u"E:\\2", u"VideoCD://"},
        {u"/home/me/dir/", u"", true, u"", 2, u"/home/me/dir", u"file://"},
        {u"D:/1/", u"", false, u"VideoCD://", 0, u"VideoCD://D:/1/", u"file://"},
        {u"\"", u"", false, u"", 0, u"file://\"", u"file://"},
        // Entries of a playlist in /lists/.
        {u"../music/a.mp3", u"/lists/x.m3u", false, u"", 0, u"file:///music/a.mp3", u"file://"},
        {u"..\\music\\a.mp3", u"/lists/", false, u"", 0, u"file:///music/a.mp3", u"file://"},
        {u"../../a.mp3", u"/lists/", false, u"", 0, u"file://", u"file://"},
        {u"./a.mp3", u"/lists/", false, u"", 0, u"file:///lists/a.mp3", u"file://"},
        {u"a.mp3", u"/lists/", false, u"", 0, u"file:///lists/a.mp3", u"file://"},
        {u"sub/a.mp3", u"/lists/", false, u"", 0, u"file:///lists/sub/a.mp3", u"file://"},
        {u"Artist\\Album\\01.flac", u"/lists/x.m3u", false, u"", 0,
         u"file:///lists/Artist/Album/01.flac", u"file://"},
        {u"C:\\Music\\a.mp3", u"/lists/", false, u"", 0, u"file://C:/Music/a.mp3", u"file://"},
        {u"/abs/a.mp3", u"/lists/", false, u"", 0, u"file:///abs/a.mp3", u"file://"},
        {u"http://h/a.mp3", u"/lists/", false, u"", 0, u"http://h/a.mp3", u""},
        {u"../music/a.mp3", u"C:/lists/", false, u"", 0, u"file://C:/music/a.mp3", u"file://"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(q(c.location).toStdString() + " in " + q(c.base).toStdString());
        QString scheme = QStringLiteral("unset");
        EXPECT_EQ(
            NormaliseLocation(q(c.location), q(c.base), c.noPrefix, q(c.prefix), &scheme, c.mode),
            q(c.result));
        EXPECT_EQ(scheme, q(c.scheme));
    }
}

TEST(Locations, MediaKindOf)
{
    struct Case {
        const char16_t *location;
        qint32 kind;
    };
    const Case cases[] = {
        {u"http://host/clip.asf", kKindWmp},
        {u"AudioCD://D:/3/", kKindAudioCd},
        {u"videocd://D:/1/", kKindVideoCd},
        {u"D:\\", kKindDriveRoot},
        {u"C:\\Music\\", kKindFolder},
        {u"/home/me/Music/", kKindFolder},
        {u"/m/a.xyz", kKindUnknown},
        {u"/m/song.rmi", kKindWmp},
        {u"/m/song.rm", kKindReal},
        {u"/m/SONG.RA", kKindReal},
        {u"/m/x.ogg", kKindWmp},
        {u"/m/x.mkv", kKindWmp},
        {u"rtsp://h/live.ram", kKindReal},
        {u"/m/x.flac", kKindWmp},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MediaKindOf(q(c.location), kBuiltinWmpFileTypes, kBuiltinRealFileTypes), c.kind)
            << q(c.location).toStdString();
    }
    EXPECT_EQ(MediaKindOf(QStringLiteral("/m/x.mp3")), kKindWmp) << "built-in lists when unset";
    EXPECT_EQ(
        MediaKindOf(QStringLiteral("/m/a.xyz"), QStringLiteral(".mp3;"), QStringLiteral(";;.ra")),
        kKindUnknown)
        << "empty entries match nothing";
}

TEST(Locations, LinuxFormatsComeAfterTheWindowsListAndChangeNoOldExtension)
{
    using orvane::core::kWindowsWmpFileTypes;
    EXPECT_TRUE(kBuiltinWmpFileTypes.startsWith(kWindowsWmpFileTypes + u';'));
    const QStringList added = kBuiltinWmpFileTypes.mid(kWindowsWmpFileTypes.size() + 1).split(u';');
    for (const char *format :
         {".ogg", ".oga", ".ogv", ".opus", ".flac", ".m4a", ".mp4", ".m4v", ".mkv", ".mka", ".webm",
          ".aac", ".ac3", ".wv", ".3gp", ".spx", ".mpc"}) {
        EXPECT_TRUE(added.contains(QString::fromLatin1(format))) << format;
    }
    const QStringList old =
        QString(kWindowsWmpFileTypes + u';' + kBuiltinRealFileTypes).split(u';');
    for (const QString &extension : old) {
        const QString lower = QStringLiteral("/m/x") + extension;
        const QString upper = QStringLiteral("/m/X") + extension.toUpper();
        for (const QString &location : {lower, upper}) {
            EXPECT_EQ(MediaKindOf(location, kBuiltinWmpFileTypes, kBuiltinRealFileTypes),
                      MediaKindOf(location, kWindowsWmpFileTypes, kBuiltinRealFileTypes))
                << location.toStdString();
        }
    }
}

TEST(Locations, ParseLocationList)
{
    struct Case {
        const char16_t *text;
        QStringList locations;
    };
    const Case cases[] = {
        {u"/dir|a.mp3|b.wav", {q(u"file:///dir/a.mp3"), q(u"file:///dir/b.wav")}},
        {u"/dir/|a.mp3", {q(u"file:///dir/a.mp3")}},
        {u"/home/me/.local/music|a.mp3|b.mp3",
         {q(u"file:///home/me/.local/music/a.mp3"), q(u"file:///home/me/.local/music/b.mp3")}},
        {u"C:\\dir|a.mp3|b.wav", {q(u"file://C:/dir/a.mp3"), q(u"file://C:/dir/b.wav")}},
        {u"/x/a.mp3|/y/b.mp3", {q(u"file:///x/a.mp3"), q(u"file:///y/b.mp3")}},
        {u"/music/albums|/other/a.mp3", {q(u"file:///music/albums"), q(u"file:///other/a.mp3")}},
        {u"/music|a.mp3|/other/b.mp3|http://h/c.mp3|D:\\d.mp3",
         {q(u"file:///music/a.mp3"), q(u"file:///other/b.mp3"), q(u"http://h/c.mp3"),
          q(u"file://D:/d.mp3")}},
        {u"\"/my music/a.mp3\"", {q(u"file:///my music/a.mp3")}},
        {u"a.mp3||b.mp3| ", {q(u"file://a.mp3"), q(u"file://b.mp3")}},
        {u"", {}},
        {u"http://h/a.mp3|http://h/b.mp3", {q(u"http://h/a.mp3"), q(u"http://h/b.mp3")}},
        {u"AudioCD://D:/3/", {q(u"AudioCD://D:/3/")}},
        {u"/missing/list.m3u", {q(u"file:///missing/list.m3u")}},
    };
    for (const Case &c : cases) {
        const LocationTable table = ParseLocationList(q(c.text));
        EXPECT_EQ(locationsOf(table), c.locations) << q(c.text).toStdString();
        for (const LocationEntry &entry : table)
            EXPECT_EQ(entry.displayName, FileNamePart(entry.location));
    }
}

TEST_F(ForeignPlaylists, M3uCommentsAndEmptyLinesAreNoLocations)
{
    const QString list = write(QStringLiteral("list.m3u"), "#EXTM3U\r\n"
                                                           "#EXTINF:123,Artist - Title\r\n"
                                                           "../music/a.mp3\r\n"
                                                           "\r\n"
                                                           "  \r\n"
                                                           "b.mp3\n"
                                                           "sub/c.mp3\r\n"
                                                           "http://h/s.mp3\r\n");
    const QString folder = dir.path();
    const QString parent = folder.left(folder.lastIndexOf(u'/') + 1);
    LocationTable table;
    EXPECT_EQ(ReadForeignPlaylist(list, table), 4);
    EXPECT_EQ(locationsOf(table),
              (QStringList{QStringLiteral("file://") + parent + QStringLiteral("music/a.mp3"),
                           QStringLiteral("file://") + folder + QStringLiteral("/b.mp3"),
                           QStringLiteral("file://") + folder + QStringLiteral("/sub/c.mp3"),
                           QStringLiteral("http://h/s.mp3")}));
    EXPECT_EQ(table[0].displayName, u"a.mp3");

    const LocationTable expanded =
        ParseLocationList(QStringLiteral("/x/first.mp3|") + list + QStringLiteral("|/x/last.wav"));
    ASSERT_EQ(expanded.size(), 6) << "the playlist's entries take its place";
    EXPECT_EQ(expanded.front().location, u"file:///x/first.mp3");
    EXPECT_EQ(expanded[1], table[0]);
    EXPECT_EQ(expanded.back().location, u"file:///x/last.wav");
}

// The forms other programs write: entries below the list's folder,
// indented lines, and "file://" URLs with their escapes.
TEST_F(ForeignPlaylists, M3uEntriesAsMusicProgramsWriteThem)
{
    const QString list = write(QStringLiteral("list.m3u8"), "#EXTM3U\n"
                                                            "  #EXTINF:123,Artist - Title\n"
                                                            "\t#EXTINF:5,Tabbed\n"
                                                            "Artist/Album/01.flac\n"
                                                            "\tArtist/Album/02.flac \n"
                                                            "file:///music/My%20Song.mp3\n"
                                                            "FILE://localhost/music/caf%C3%A9.mp3\n"
                                                            "http://h/a%20b.mp3\n");
    LocationTable table;
    EXPECT_EQ(ReadForeignPlaylist(list, table), 5);
    const QString folder = QStringLiteral("file://") + dir.path();
    EXPECT_EQ(locationsOf(table), (QStringList{folder + QStringLiteral("/Artist/Album/01.flac"),
                                               folder + QStringLiteral("/Artist/Album/02.flac"),
                                               QStringLiteral("file:///music/My Song.mp3"),
                                               QStringLiteral("file:///music/caf\u00e9.mp3"),
                                               QStringLiteral("http://h/a%20b.mp3")}));
    EXPECT_EQ(table[2].displayName, u"My Song.mp3");
}

TEST_F(ForeignPlaylists, EncodingsAndKinds)
{
    LocationTable table;
    const QByteArray utf8 = QStringLiteral("caf\u00e9.mp3\r\n").toUtf8();
    EXPECT_EQ(ReadForeignPlaylist(write(QStringLiteral("u.m3u8"), "\xEF\xBB\xBF" + utf8), table),
              1);
    EXPECT_EQ(ReadForeignPlaylist(write(QStringLiteral("v.M3U"), utf8), table), 1);
    const QByteArray cp932 = orvane::core::encodeCp932(QStringLiteral("春の歌.mp3\r\n"));
    EXPECT_EQ(ReadForeignPlaylist(write(QStringLiteral("j.m3u"), cp932), table), 1);
    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(table[0].displayName, QStringLiteral("caf\u00e9.mp3"));
    EXPECT_EQ(table[1].displayName, QStringLiteral("caf\u00e9.mp3"));
    EXPECT_EQ(table[2].displayName, QStringLiteral("春の歌.mp3"));

    EXPECT_EQ(ReadForeignPlaylist(write(QStringLiteral("a.txt"), utf8), table), -1);
    EXPECT_EQ(ReadForeignPlaylist(dir.filePath(QStringLiteral("missing.m3u")), table), -1);
    EXPECT_EQ(ReadForeignPlaylist(write(QStringLiteral("r.ram"), "rtsp://h/a.rm\r\n"), table), 1);
    const QString fifo = dir.filePath(QStringLiteral("fifo.m3u"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ReadForeignPlaylist(fifo, table), -1) << "not opened, so it cannot block";
    EXPECT_EQ(table.back().location, u"rtsp://h/a.rm");
}

// /proc reaches any file of the process (its descriptors, its folder):
// a name there is not a playlist to read, whatever it ends in.
TEST_F(ForeignPlaylists, NamesUnderTheKernelsTreesAreNotRead)
{
    write(QStringLiteral("list.m3u"), "/music/a.mp3\n");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    LocationTable table;
    EXPECT_EQ(ReadForeignPlaylist(QStringLiteral("/proc/self/cwd/list.m3u"), table), -1);
    const LocationTable parsed = ParseLocationList(QStringLiteral("/proc/self/cwd/list.m3u"));
    QDir::setCurrent(previous);
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(locationsOf(parsed), QStringList{QStringLiteral("file:///proc/self/cwd/list.m3u")});
}

TEST_F(ForeignPlaylists, RealMediaFileWithAPlaylistNameIsAFile)
{
    const QString media = write(QStringLiteral("clip.ram"), QByteArray(".RMF\0\0\0\x12", 8));
    LocationTable table;
    EXPECT_EQ(ReadForeignPlaylist(media, table), -1);
    EXPECT_TRUE(table.isEmpty());
    const LocationTable parsed = ParseLocationList(media);
    ASSERT_EQ(parsed.size(), 1);
    EXPECT_EQ(parsed[0].location, QStringLiteral("file://") + media);
    EXPECT_EQ(MediaKindOf(parsed[0].location, kBuiltinWmpFileTypes, kBuiltinRealFileTypes),
              kKindReal);
}

// What the user gave relative to their shell's folder must name the same
// file in a player whose current folder is another one.
TEST(Locations, RelativeAndTypedNamesBecomeAbsoluteWhereTheyWereGiven)
{
    const QString cwd = q(u"/home/u/music");
    const QString home = q(u"/home/u");
    EXPECT_EQ(AbsoluteLocation(q(u"a.mp3"), cwd), q(u"/home/u/music/a.mp3"));
    EXPECT_EQ(AbsoluteLocation(q(u"../b.wav"), cwd), q(u"/home/u/b.wav"));
    EXPECT_EQ(AbsoluteLocation(q(u" \"my song.mp3\" "), cwd), q(u"/home/u/music/my song.mp3"));
    for (const char16_t *kept :
         {u"/x/a.mp3", u"http://h/a.mp3", u"AudioCD://D:/3/", u"D:\\a.mp3", u"", u"  "})
        EXPECT_EQ(AbsoluteLocation(q(kept), cwd), q(kept)) << q(kept).toStdString();

    EXPECT_EQ(TypedLocation(q(u"~/x.mp3"), cwd, home), q(u"/home/u/x.mp3"));
    EXPECT_EQ(TypedLocation(q(u"~"), cwd, home), home);
    EXPECT_EQ(TypedLocation(q(u"~other/x.mp3"), cwd, home), q(u"/home/u/music/~other/x.mp3"))
        << "another user's home is not guessed";

    EXPECT_EQ(TypedLocationList(q(u"a.mp3|~/b.wav"), cwd, home),
              q(u"/home/u/music/a.mp3|/home/u/b.wav"));
    EXPECT_EQ(TypedLocationList(q(u"~/albums|a.mp3|b.mp3"), cwd, home),
              q(u"/home/u/albums|a.mp3|b.mp3"))
        << "names after a folder stay relative to that folder";

    EXPECT_EQ(AbsoluteCommandLine({q(u"a.mp3"), q(u"/x/b.wav")}, cwd),
              q(u"/home/u/music/a.mp3 /x/b.wav"));
}

TEST(Locations, AwkwardNamesReachTheListWholeFromEitherStart)
{
    // Given to a first start, or handed over by a second one in another
    // folder: each name is one location, letter for letter.
    const QStringList names = {q(u"a b \"c\" #1 100% ñ 日本.wav"),
                               q(u"/m/d \"e f\" #2 50% ü 東京.ogg"), q(u"it\"s.mp3")};
    const QString cwd = q(u"/home/u/music");
    const QString raw = AbsoluteCommandLine(names, cwd);
    orvane::core::InstanceMessageReader reader;
    ASSERT_EQ(reader.feed(orvane::core::encodeInstanceMessage(raw)),
              orvane::core::InstanceMessageReader::State::Complete);
    const QStringList expected = {q(u"file:///home/u/music/a b \"c\" #1 100% ñ 日本.wav"),
                                  q(u"file:///m/d \"e f\" #2 50% ü 東京.ogg"),
                                  q(u"file:///home/u/music/it\"s.mp3")};
    EXPECT_EQ(locationsOf(ParseLocationList(orvane::core::NormalizeCommand(reader.text()))),
              expected);
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(locationsOf(ParseLocationList(
                      orvane::core::NormalizeCommand(AbsoluteCommandLine({names[i]}, cwd)))),
                  QStringList{expected[i]});
    }
}
