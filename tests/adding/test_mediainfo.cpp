// The information text and the refresh from the loaded engine.
#include "addingfixture.h"

#include "adding/mediainfo.h"
#include "tests/support/media.h"

namespace orvane::test {
namespace {

QString rmWithoutTitle()
{
    return generatedMedia(QStringLiteral("untitled.rm"),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=550:duration=3"), QStringLiteral("-c:a"),
                           QStringLiteral("real_144"), QStringLiteral("-ar"),
                           QStringLiteral("8000"), QStringLiteral("-ac"), QStringLiteral("1")});
}

TEST_F(AddingTest, InfoTextIndentsEveryDescriptionLine)
{
    ASSERT_TRUE(add(fileLocation(toneWav())));
    view.setSelectedPosition(0);
    const int index = view.key(0).mid(3).toInt();
    playlist::PlayList[index].TITLE = QStringLiteral("T");
    playlist::PlayList[index].AUTHOR = QStringLiteral("A");
    playlist::PlayList[index].COPYRIGHT = QStringLiteral("C");

    const struct {
        const char *description;
        const char *shown;
    } cases[] = {
        {"line one\r\nline two", "\tline one\r\n\tline two"},
        {"line one\nline two", "\tline one\r\n\tline two"},
        {"", "\t"},
    };
    playback::state::LoadedMediaType = playback::kAudioCdTrack; // no codec line
    for (const auto &c : cases) {
        playlist::PlayList[index].DESCRIPTHION = QString::fromUtf8(c.description);
        EXPECT_EQ(adding::GetMediaInfoText(mediaPlayer, realPlayer, view),
                  QStringLiteral("Title\t: T\r\nAuthor\t: A\r\nCopyright\t: C\r\nDescription\r\n") +
                      QString::fromUtf8(c.shown));
    }
}

TEST_F(AddingTest, InfoTextOfAPlayingFileEndsWithItsCodecs)
{
    core::modMain::AutoPlay = true;
    ASSERT_TRUE(add(fileLocation(toneMp3())));
    ASSERT_EQ(playback::state::LoadedMediaType, playback::kMediaPlayerFile);
    ASSERT_GE(mediaPlayer.codecCount(), 1);

    const QString text = adding::GetMediaInfoText(mediaPlayer, realPlayer, view);
    QString codecs = QStringLiteral("\r\nCodec\t: ") + mediaPlayer.codecDescription(1);
    for (int i = 2; i <= mediaPlayer.codecCount(); ++i)
        codecs += QStringLiteral("\r\n\t\t") + mediaPlayer.codecDescription(i);
    EXPECT_TRUE(text.endsWith(codecs)) << text.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Title\t: Tone Title\r\nAuthor\t: Tone Artist\r\n")))
        << text.toStdString();
}

TEST_F(AddingTest, RefreshWritesTheLoadedClipIntoTheSelectedItem)
{
    core::modMain::AutoPlay = true;
    ASSERT_TRUE(add(fileLocation(rmWithoutTitle()) + u'|' + fileLocation(toneMp3())));
    ASSERT_EQ(view.count(), 2);
    ASSERT_EQ(playback::state::LoadedMediaType, playback::kRealPlayerFile);
    ASSERT_EQ(view.item(1).text, QStringLiteral("Tone Title"));

    // The mp3's line is selected while the RealMedia clip is loaded.
    view.setSelectedPosition(1);
    EXPECT_TRUE(adding::RefreshItemInfo(mediaPlayer, realPlayer, view));

    const playlist::PlayListItem refreshed = recordAt(1);
    EXPECT_EQ(refreshed.TITLE, QStringLiteral("tone-3s"));
    EXPECT_EQ(refreshed.AUTHOR, QString());
    EXPECT_EQ(refreshed.DESCRIPTHION, QString());
    EXPECT_EQ(view.item(1).text, QStringLiteral("tone-3s"));
    EXPECT_EQ(view.item(1).subItem1, QString());
    EXPECT_EQ(recordAt(1).FILENAME, fileLocation(toneMp3()));
}

TEST_F(AddingTest, UntaggedMediaIsTitledByItsNameWhereItHasOne)
{
    const struct {
        const char *location;
        const char *title;
    } cases[] = {
        {"file:///music/Evening Walk.wav", "Evening Walk"},
        {"file:///music/archive.tar.gz", "archive.tar"},
        {"file:///music/.hidden", ".hidden"},
        {"file:///music/a b \"c\" #1 100% ñ 日本.wav", "a b \"c\" #1 100% ñ 日本"},
        {"file:///music/what?.wav", "what?"},
        {"/music/track #2.mp3", "track #2"},
        {"http://radio.example/live%20mix.mp3?id=3", "live mix"},
        {"http://radio.example/", "Unknown"},
        {"mms://radio.example", "Unknown"},
        {"AudioCD://D:/3/", "Unknown"},
        {"VideoCD://E:/1/", "Unknown"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(adding::TitleWhenUntagged(QString::fromUtf8(c.location)),
                  QString::fromUtf8(c.title))
            << c.location;
}

} // namespace
} // namespace orvane::test
