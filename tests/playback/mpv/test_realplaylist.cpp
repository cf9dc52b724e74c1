// The readers of ".ram" location lists and ".smil" presentations.
#include "playback/mpv/realplaylist.h"

#include <gtest/gtest.h>

using namespace orvane::playback::mpv;

namespace {

QStringList locations(const RealPlaylist &list)
{
    QStringList out;
    for (const RealEntry &entry : list.entries)
        out << entry.location;
    return out;
}

struct RamCase {
    const char *name;
    QByteArray bytes;
    RealPlaylist::Kind kind;
    QStringList expected;
};

class RamReader : public ::testing::TestWithParam<RamCase>
{
};

TEST_P(RamReader, ReadsLocations)
{
    const RealPlaylist list = readRam(GetParam().bytes, QStringLiteral("/music/lists"));
    EXPECT_EQ(list.kind, GetParam().kind) << list.error.toStdString();
    EXPECT_EQ(locations(list), GetParam().expected);
    if (list.kind == RealPlaylist::Invalid) {
        EXPECT_FALSE(list.error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RamReader,
    ::testing::Values(
        RamCase{"CrLfCommentsBlankLines",
                "# list\r\n\r\nrtsp://host/a.rm\r\n  /abs/b.ra  \r\n",
                RealPlaylist::Playlist,
                {QStringLiteral("rtsp://host/a.rm"), QStringLiteral("file:///abs/b.ra")}},
        RamCase{"RelativeAndFileUrls",
                "clip.rm\n../up.rm\nfile:///x/y.rm\n",
                RealPlaylist::Playlist,
                {QStringLiteral("file:///music/lists/clip.rm"),
                 QStringLiteral("file:///music/up.rm"), QStringLiteral("file:///x/y.rm")}},
        RamCase{"StopLineEndsTheList",
                "a.rm\n--stop--\nb.rm\n",
                RealPlaylist::Playlist,
                {QStringLiteral("file:///music/lists/a.rm")}},
        RamCase{"ServerQueryIsKept",
                "http://h/s?id=5\n",
                RealPlaylist::Playlist,
                {QStringLiteral("http://h/s?id=5")}},
        RamCase{"RealMediaNamedRam", QByteArray(".RMF\0\0\0\x12", 8), RealPlaylist::Media, {}},
        RamCase{"BinaryIsRefused", QByteArray("a.rm\n\0\x01", 7), RealPlaylist::Invalid, {}},
        RamCase{
            "TooLargeIsRefused", QByteArray(kMaxPlaylistBytes + 1, 'a'), RealPlaylist::Invalid, {}},
        RamCase{"Cp932Path",
                QByteArray("\x89\xb9\x8a\x79.rm\n"),
                RealPlaylist::Playlist,
                {QStringLiteral("file:///music/lists/") + QString::fromUtf8("音楽") +
                 QStringLiteral(".rm")}},
        RamCase{"Empty", "", RealPlaylist::Playlist, {}}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

TEST(RamReaderTexts, QueryGivesTheEntryTexts)
{
    const RealPlaylist list =
        readRam("a.rm?title=\"My%20Song\"&author=Me&copyright=(c)%202001&abstract=About\n",
                QStringLiteral("/d"));
    ASSERT_EQ(list.entries.size(), 1);
    const RealEntry &entry = list.entries[0];
    EXPECT_EQ(entry.location, QStringLiteral("file:///d/a.rm"));
    EXPECT_EQ(entry.title, QStringLiteral("My Song"));
    EXPECT_EQ(entry.author, QStringLiteral("Me"));
    EXPECT_EQ(entry.copyright, QStringLiteral("(c) 2001"));
    EXPECT_EQ(entry.abstract, QStringLiteral("About"));
}

TEST(RamReaderLimits, StopsAtTheEntryLimit)
{
    QByteArray many;
    for (int i = 0; i < kMaxPlaylistEntries + 5; ++i)
        many += "x.rm\n";
    EXPECT_EQ(readRam(many, QStringLiteral("/d")).entries.size(), kMaxPlaylistEntries);
}

struct SmilCase {
    const char *name;
    QByteArray bytes;
    RealPlaylist::Kind kind;
    QStringList expected;
};

class SmilReader : public ::testing::TestWithParam<SmilCase>
{
};

TEST_P(SmilReader, ReadsMediaReferences)
{
    const RealPlaylist list = readSmil(GetParam().bytes, QStringLiteral("/show"));
    EXPECT_EQ(list.kind, GetParam().kind) << list.error.toStdString();
    EXPECT_EQ(locations(list), GetParam().expected);
    if (list.kind == RealPlaylist::Invalid) {
        EXPECT_FALSE(list.error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmilReader,
    ::testing::Values(
        SmilCase{
            "SeqAndPar",
            "<?xml version=\"1.0\"?><smil xmlns=\"http://www.w3.org/2001/SMIL20/Language\"><body>"
            "<seq><audio src=\"a.rm\"/><par><video src=\"rtsp://h/v.rm\"/>"
            "<img src=\"pic.jpg\"/></par></seq><ref src=\"sub%20dir/c.ra\"/></body></smil>",
            RealPlaylist::Playlist,
            {QStringLiteral("file:///show/a.rm"), QStringLiteral("rtsp://h/v.rm"),
             QStringLiteral("file:///show/sub dir/c.ra")}},
        SmilCase{"SwitchTakesTheFirstChoice",
                 "<smil><body><switch><audio src=\"hi.rm\"/><audio src=\"lo.rm\"/></switch>"
                 "<audio src=\"after.rm\"/></body></smil>",
                 RealPlaylist::Playlist,
                 {QStringLiteral("file:///show/hi.rm"), QStringLiteral("file:///show/after.rm")}},
        SmilCase{"UpperCaseNames",
                 "<SMIL><BODY><AUDIO src=\"/abs.rm\"/></BODY></SMIL>",
                 RealPlaylist::Playlist,
                 {QStringLiteral("file:///abs.rm")}},
        SmilCase{"MediaWithoutSrcIsSkipped",
                 "<smil><body><audio/><audio src=\"\"/></body></smil>",
                 RealPlaylist::Playlist,
                 {}},
        SmilCase{"Unclosed", "<smil><body><audio src=\"a.rm\"></body>", RealPlaylist::Invalid, {}},
        SmilCase{"NotSmil", "<html><audio src=\"a.rm\"/></html>", RealPlaylist::Invalid, {}},
        SmilCase{"Empty", "", RealPlaylist::Invalid, {}},
        SmilCase{"EntityBomb",
                 "<!DOCTYPE smil [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                 "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                 "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d "
                 "\"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                 "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]><smil><body><audio src=\"x.rm\" "
                 "title=\"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"/></body></smil>",
                 RealPlaylist::Invalid,
                 {}}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

TEST(SmilReaderTexts, AttributesAndHeadMetaGiveTheTexts)
{
    const RealPlaylist list =
        readSmil("<smil><head><meta name=\"title\" content=\"Show\"/><meta name=\"Author\" "
                 "content=\"Crew\"/>"
                 "<meta name=\"copyright\" content=\"(c) Crew\"/><meta name=\"abstract\" "
                 "content=\"All of it\"/>"
                 "</head><body><audio src=\"a.rm\" title=\"Song A\" abstract=\"First\"/>"
                 "<video src=\"b.rm\" author=\"Director\" copyright=\"(c) D\"/></body></smil>",
                 QStringLiteral("/s"));
    ASSERT_EQ(list.entries.size(), 2);
    EXPECT_EQ(list.entries[0].title, QStringLiteral("Song A"));
    EXPECT_EQ(list.entries[0].author, QStringLiteral("Crew"));
    EXPECT_EQ(list.entries[0].copyright, QStringLiteral("(c) Crew"));
    EXPECT_EQ(list.entries[0].abstract, QStringLiteral("First"));
    EXPECT_EQ(list.entries[1].title, QStringLiteral("Show"));
    EXPECT_EQ(list.entries[1].author, QStringLiteral("Director"));
    EXPECT_EQ(list.entries[1].copyright, QStringLiteral("(c) D"));
    EXPECT_EQ(list.entries[1].abstract, QStringLiteral("All of it"));
}

TEST(PlaylistNames, AreRecognisedWithoutRegardToCase)
{
    EXPECT_TRUE(isRealPlaylistName(QStringLiteral("/a/B.RAM")));
    EXPECT_TRUE(isRealPlaylistName(QStringLiteral("x.rpm")));
    EXPECT_TRUE(isRealPlaylistName(QStringLiteral("x.Smil")));
    EXPECT_TRUE(isSmilName(QStringLiteral("x.smi")));
    EXPECT_FALSE(isRealPlaylistName(QStringLiteral("x.rm")));
    EXPECT_FALSE(isRealPlaylistName(QStringLiteral("ram")));
}

} // namespace
