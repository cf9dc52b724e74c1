#include "playback/gst/asxreader.h"

#include <gtest/gtest.h>

using namespace orvane::playback::gst;

namespace {

struct AsxCase {
    const char *name;
    const char *xml;
    bool ok;
    int entries;
    const char *firstRef; // of entry 1, when ok
    const char *firstTitle;
};

class AsxReaderTest : public ::testing::TestWithParam<AsxCase>
{
};

TEST_P(AsxReaderTest, Parses)
{
    const AsxCase &c = GetParam();
    const AsxResult r = parseAsx(QString::fromUtf8(c.xml));
    EXPECT_EQ(r.ok, c.ok) << r.error.toStdString();
    ASSERT_EQ(r.playlist.entries.size(), c.entries);
    if (!c.ok) {
        EXPECT_FALSE(r.error.isEmpty());
        return;
    }
    EXPECT_EQ(r.playlist.entries.at(0).refs.value(0), QString::fromUtf8(c.firstRef));
    EXPECT_EQ(r.playlist.entries.at(0).title, QString::fromUtf8(c.firstTitle));
}

const AsxCase kCases[] = {
    {"two_entries",
     R"(<asx version="3.0"><title>List</title>
          <entry><title>One</title><author>A1</author><copyright>C1</copyright>
                 <abstract>Line one</abstract><ref href="one.mp3"/></entry>
          <entry><ref href="two.wav"/></entry></asx>)",
     true, 2, "one.mp3", "One"},
    {"any_letter_case",
     R"(<ASX VERSION="3.0"><Entry><TITLE>T</TITLE><Ref HREF="x.wma" /></Entry></ASX>)", true, 1,
     "x.wma", "T"},
    {"bare_ampersand_in_url", R"(<asx><entry><ref href="http://h/a?x=1&y=2"/></entry></asx>)", true,
     1, "http://h/a?x=1&y=2", ""},
    {"entities_kept", R"(<asx><entry><title>A &amp; B &#65;</title><ref href="a"/></entry></asx>)",
     true, 1, "a", "A & B A"},
    {"entry_without_ref_dropped",
     R"(<asx><entry><title>none</title></entry><entry><ref href="b"/></entry></asx>)", true, 1, "b",
     ""},
    {"entries_in_repeat", R"(<asx><repeat count="2"><entry><ref href="r"/></entry></repeat></asx>)",
     true, 1, "r", ""},
    {"alternatives_kept_in_order",
     R"(<asx><entry><ref href="first"/><ref href="second"/></entry></asx>)", true, 1, "first", ""},
    {"complete_entries_before_an_error",
     R"(<asx><entry><ref href="ok"/></entry><entry><ref href="cut")", true, 1, "ok", ""},
    {"not_asx", R"(<html><body>no</body></html>)", false, 0, "", ""},
    {"no_entries", R"(<asx version="3.0"><title>Empty</title></asx>)", false, 0, "", ""},
    {"garbage", "\x01\x02<<<>>>&&&", false, 0, "", ""},
    {"empty", "", false, 0, "", ""},
    {"unclosed_root", "<asx><entry><title>x</title>", false, 0, "", ""},
    {"empty_href", R"(<asx><entry><ref href="  "/></entry></asx>)", false, 0, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, AsxReaderTest, ::testing::ValuesIn(kCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(AsxReader, KeepsAllTextsOfAnEntry)
{
    const AsxResult r = parseAsx(QStringLiteral(
        "<asx><author>List author</author><entry><title> T </title><author>A</author>"
        "<copyright>C</copyright><abstract>Abs\n  tract</abstract><ref href='m'/></entry></asx>"));
    ASSERT_TRUE(r.ok);
    const AsxEntry &e = r.playlist.entries.at(0);
    EXPECT_EQ(e.title, QStringLiteral("T"));
    EXPECT_EQ(e.author, QStringLiteral("A"));
    EXPECT_EQ(e.copyright, QStringLiteral("C"));
    EXPECT_EQ(e.abstract, QStringLiteral("Abs tract"));
    EXPECT_EQ(r.playlist.author, QStringLiteral("List author"));
}

TEST(AsxReader, BoundsEntriesAndTexts)
{
    QString xml = QStringLiteral("<asx>");
    for (int i = 0; i < kMaxAsxEntries + 5; ++i)
        xml += QStringLiteral("<entry><ref href='a'/></entry>");
    xml += QStringLiteral("<entry><title>") + QString(kMaxAsxText * 2, QLatin1Char('x')) +
           QStringLiteral("</title><ref href='b'/></entry></asx>");
    const AsxResult r = parseAsx(xml);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.playlist.entries.size(), kMaxAsxEntries);
    const AsxResult longTitle = parseAsx(QStringLiteral("<asx><entry><title>") +
                                         QString(kMaxAsxText * 2, QLatin1Char('x')) +
                                         QStringLiteral("</title><ref href='b'/></entry></asx>"));
    EXPECT_EQ(longTitle.playlist.entries.at(0).title.size(), kMaxAsxText);
}

TEST(AsxReader, RecognisesPlaylistExtensions)
{
    for (const char *yes : {"/a/b.asx", "/a/b.WAX", "file:///x/y.wvx", "http://h/p.asx?x=1"})
        EXPECT_TRUE(isAsxLocation(QString::fromUtf8(yes))) << yes;
    for (const char *no : {"/a/b.mp3", "/a.asx/b", "asx", "/a/b.asxx", "http://h.asx/"})
        EXPECT_FALSE(isAsxLocation(QString::fromUtf8(no))) << no;
}

TEST(AsxReader, ResolvesReferences)
{
    const QString folder = QStringLiteral("/media/lists");
    struct {
        const char *href;
        const char *expected;
    } cases[] = {
        {"song.mp3", "/media/lists/song.mp3"},      {"sub\\clip.wmv", "/media/lists/sub/clip.wmv"},
        {"../other/x.wav", "/media/other/x.wav"},   {"/abs/y.mp3", "/abs/y.mp3"},
        {"http://host/s.wma", "http://host/s.wma"}, {"mms://host/s", "mms://host/s"},
        {"file:///abs/z.mp3", "file:///abs/z.mp3"}, {"  ", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(resolveAsxRef(folder, QString::fromUtf8(c.href)), QString::fromUtf8(c.expected))
            << c.href;
}

} // namespace
