#include "playback/gst/videocduri.h"
#include "tests/playback/gst/engineprobe.h"
#include "tests/support/discimages.h"
#include "tests/support/media.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane;
using playback::MediaPlayer;
using playback::gst::GstMediaPlayer;
using test::EngineProbe;

namespace {

QStringList args(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *a : list)
        out << QString::fromUtf8(a);
    return out;
}

QString sine(double seconds)
{
    return QStringLiteral("sine=frequency=440:duration=") + QString::number(seconds);
}

QString oggMedia()
{
    return test::generatedMedia(QStringLiteral("gst-tone.ogg"),
                                args({"-f", "lavfi", "-i", "sine=duration=2", "-c:a", "libvorbis",
                                      "-metadata", "title=Ogg Title", "-metadata",
                                      "artist=Ogg Artist", "-metadata", "description=Ogg About"}));
}

QString flacMedia()
{
    return test::generatedMedia(QStringLiteral("gst-tone.flac"),
                                args({"-f", "lavfi", "-i", "sine=duration=2", "-c:a", "flac"}));
}

QString wmvMedia()
{
    return test::generatedMedia(
        QStringLiteral("gst-clip.wmv"),
        args({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=2", "-f", "lavfi", "-i",
              "sine=duration=2", "-c:v", "wmv2", "-c:a", "wmav2", "-metadata", "title=Wmv Title",
              "-metadata", "artist=Wmv Author", "-metadata", "copyright=Wmv Rights"}));
}

QString aviMedia()
{
    return test::generatedMedia(
        QStringLiteral("gst-clip.avi"),
        args({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=2", "-f", "lavfi", "-i",
              "sine=duration=2", "-c:v", "mpeg4", "-c:a", "libmp3lame"}));
}

QString vcdMedia()
{
    return test::generatedMedia(
        QStringLiteral("AVSEQ01.DAT"),
        args({"-f", "lavfi", "-i", "testsrc=size=352x240:rate=25:duration=2", "-f", "lavfi", "-i",
              "sine=duration=2", "-c:v", "mpeg1video", "-c:a", "mp2", "-ar", "44100", "-f",
              "mpeg"}));
}

QString realMedia()
{
    return test::generatedMedia(QStringLiteral("gst-tone144.rm"),
                                args({"-f", "lavfi", "-i", "sine=duration=2", "-c:a", "real_144",
                                      "-ar", "8000", "-ac", "1"}));
}

// Three chapters starting at 0, 1 and 2 seconds.
QString chapteredMedia()
{
    const QString dir = QStringLiteral(ORVANE_TEST_MEDIA_DIR);
    QDir().mkpath(dir);
    const QString meta = dir + QStringLiteral("/gst-chapters.txt");
    QFile file(meta);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(";FFMETADATA1\n");
        for (int i = 0; i < 3; ++i)
            file.write(QStringLiteral("[CHAPTER]\nTIMEBASE=1/1000\nSTART=%1\nEND=%2\ntitle=C%3\n")
                           .arg(i * 1000)
                           .arg(i * 1000 + 1000)
                           .arg(i + 1)
                           .toUtf8());
    }
    file.close();
    return test::generatedMedia(QStringLiteral("gst-chapters.mkv"),
                                QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"),
                                            QStringLiteral("-i"), sine(3), QStringLiteral("-i"),
                                            meta} +
                                    args({"-map", "0", "-map_chapters", "1", "-c:a", "libvorbis"}));
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

class GstEngineTest : public ::testing::Test
{
protected:
    GstMediaPlayer engine{test::quietOptions()};
    EngineProbe probe{engine};
    QTemporaryDir tmp;
};

struct FormatCase {
    const char *name;
    QString (*media)();
    double seconds;
    const char *codecs; // every description, joined with "|"
    int width;
};

class GstFormatTest : public GstEngineTest, public ::testing::WithParamInterface<FormatCase>
{
};

TEST_P(GstFormatTest, OpensToStoppedWithLengthAndCodecs)
{
    const FormatCase &c = GetParam();
    const QString path = c.media();
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(probe.open(QStringLiteral("file://") + path))
        << engine.errorDescription().toStdString();
    EXPECT_EQ(probe.states, (QList<std::pair<int, int>>{{6, 0}}));
    EXPECT_FALSE(engine.hasError());
    EXPECT_TRUE(engine.isDurationValid());
    EXPECT_NEAR(engine.duration(), c.seconds, 0.3);
    EXPECT_TRUE(engine.canSeek());
    EXPECT_EQ(engine.entryCount(), 0);
    QStringList codecs;
    for (int i = 1; i <= engine.codecCount(); ++i)
        codecs << engine.codecDescription(i);
    EXPECT_EQ(codecs.join(QLatin1Char('|')), QString::fromUtf8(c.codecs));
    EXPECT_EQ(engine.codecDescription(0), QString());
    EXPECT_EQ(engine.videoSize().width(), c.width);
}

const FormatCase kFormats[] = {
    {"mp3", []() -> QString { return test::toneMp3(3.0); }, 3.0, "MPEG-1 Layer 3 (MP3)", -1},
    {"wav", []() -> QString { return test::toneWav(2.0); }, 2.0, "Uncompressed 16-bit PCM audio",
     -1},
    {"ogg", oggMedia, 2.0, "Vorbis", -1},
    {"flac", flacMedia, 2.0, "Free Lossless Audio Codec (FLAC)", -1},
    {"wmv", wmvMedia, 2.0, "WMA Version 8|Microsoft Windows Media 8", 160},
    {"avi", aviMedia, 2.0, "MPEG-1 Layer 3 (MP3)|MPEG-4 Video (Simple Profile)", 160},
    {"vcd_dat", vcdMedia, 2.0, "MPEG-1 Layer 2 (MP2)|MPEG-1 Video", 352},
};

INSTANTIATE_TEST_SUITE_P(Formats, GstFormatTest, ::testing::ValuesIn(kFormats),
                         [](const auto &p) { return std::string(p.param.name); });

// The engine hands a Video CD track's URI to its own disc source, which
// every playbin must know from the engine's start.
TEST_F(GstEngineTest, OpensAVideoCdTrackByItsUri)
{
    const QString cue = test::videoCdImage(QStringLiteral("vcd-two-clips"), {3, 2});
    ASSERT_FALSE(cue.isEmpty());
    ASSERT_TRUE(probe.open(playback::gst::videoCdUri(cue, 3)))
        << engine.errorDescription().toStdString();
    EXPECT_NEAR(engine.duration(), 2.0, 0.3);
    EXPECT_TRUE(engine.canSeek());
    EXPECT_EQ(engine.codecDescription(2), QStringLiteral("MPEG-1 Video"));
    EXPECT_EQ(engine.videoSize().width(), 352);
    probe.clear();
    engine.setFileName(playback::gst::videoCdUri(cue, 1));
    ASSERT_TRUE(probe.waitFor([&] { return probe.errors > 0; }));
    EXPECT_TRUE(engine.errorDescription().contains(QStringLiteral("holds data")))
        << engine.errorDescription().toStdString();
}

TEST_F(GstEngineTest, StatesFollowTheCommandsAndPositionFollowsTheClock)
{
    ASSERT_TRUE(probe.open(test::toneMp3(3.0)));
    EXPECT_EQ(engine.currentPosition(), 0.0);
    engine.play();
    EXPECT_EQ(engine.playState(), MediaPlayer::Playing);
    ASSERT_TRUE(probe.waitForPosition(0.2));
    QElapsedTimer clock;
    clock.start();
    const double start = engine.currentPosition();
    QTest::qWait(600);
    const double advanced = engine.currentPosition() - start;
    const double elapsed = clock.elapsed() / 1000.0;
    EXPECT_GT(advanced, elapsed * 0.6);
    EXPECT_LT(advanced, elapsed * 1.4 + 0.1);

    engine.pause();
    EXPECT_EQ(engine.playState(), MediaPlayer::Paused);
    QTest::qWait(200);
    const double paused = engine.currentPosition();
    QTest::qWait(300);
    EXPECT_NEAR(engine.currentPosition(), paused, 0.02);
    engine.play();
    engine.stop();
    EXPECT_EQ(engine.playState(), MediaPlayer::Stopped);
    engine.setFileName(QString());
    EXPECT_EQ(engine.playState(), MediaPlayer::Closed);
    ASSERT_TRUE(probe.waitFor([&] { return probe.states.size() == 6; }));
    EXPECT_EQ(probe.states,
              (QList<std::pair<int, int>>{{6, 0}, {0, 2}, {2, 1}, {1, 2}, {2, 0}, {0, 6}}));
    EXPECT_EQ(engine.currentPosition(), 0.0);
    EXPECT_FALSE(engine.isDurationValid());
}

TEST_F(GstEngineTest, CommandsWithoutMediaDoNothing)
{
    engine.play();
    engine.pause();
    engine.stop();
    engine.setCurrentPosition(1.0);
    engine.setCurrentMarker(1);
    engine.setCurrentEntry(1);
    QTest::qWait(50);
    EXPECT_EQ(engine.playState(), MediaPlayer::Closed);
    EXPECT_TRUE(probe.states.isEmpty());
    EXPECT_EQ(probe.errors, 0);
}

TEST_F(GstEngineTest, SeeksAndStopsAtTheEnd)
{
    ASSERT_TRUE(probe.open(test::toneWav(2.0)));
    engine.setCurrentPosition(1.5);
    ASSERT_TRUE(probe.waitFor([&] { return std::abs(engine.currentPosition() - 1.5) < 0.05; }));
    // The first play brings in the audio output; it must go on from 1.5 s.
    engine.play();
    double lowest = 10.0;
    ASSERT_TRUE(probe.waitFor([&] {
        lowest = std::min(lowest, engine.currentPosition());
        return engine.playState() == MediaPlayer::Stopped;
    }));
    EXPECT_GT(lowest, 1.4);
    EXPECT_NEAR(engine.currentPosition(), 2.0, 0.1);
    // Play after the end starts over.
    probe.clear();
    engine.play();
    ASSERT_TRUE(probe.waitForPosition(0.05));
    EXPECT_LT(engine.currentPosition(), 1.0);
    engine.stop();
}

TEST_F(GstEngineTest, RepeatsInsideTheEngine)
{
    const QString clip = test::toneWav(0.5);
    ASSERT_TRUE(probe.open(clip));
    probe.clear();
    engine.setPlayCount(3);
    engine.play();
    int wraps = 0;
    double last = 0.0;
    ASSERT_TRUE(probe.waitFor(
        [&] {
            const double now = engine.currentPosition();
            if (now + 0.2 < last)
                ++wraps;
            last = now;
            return engine.playState() == MediaPlayer::Stopped;
        },
        10000));
    EXPECT_EQ(wraps, 2);
    ASSERT_TRUE(probe.waitFor([&] { return probe.states.size() >= 2; }));
    EXPECT_EQ(probe.states, (QList<std::pair<int, int>>{{0, 2}, {2, 0}}));

    // 0 repeats until told otherwise.
    engine.setPlayCount(0);
    engine.setAutoRewind(true);
    engine.play();
    wraps = 0;
    last = 0.0;
    ASSERT_TRUE(probe.waitFor([&] {
        const double now = engine.currentPosition();
        if (now + 0.2 < last)
            ++wraps;
        last = now;
        return wraps >= 3;
    }));
    EXPECT_EQ(engine.playState(), MediaPlayer::Playing);
    engine.setPlayCount(1);
    ASSERT_TRUE(probe.waitForState(MediaPlayer::Stopped));
    // Auto rewind puts the position back at the start.
    ASSERT_TRUE(probe.waitFor([&] { return engine.currentPosition() < 0.05; }));
}

TEST_F(GstEngineTest, MarkersAreTheChapters)
{
    ASSERT_TRUE(probe.open(chapteredMedia()));
    ASSERT_EQ(engine.markerCount(), 3);
    EXPECT_EQ(engine.currentMarker(), 1);
    engine.setCurrentMarker(3);
    ASSERT_TRUE(probe.waitFor([&] { return engine.currentMarker() == 3; }));
    EXPECT_NEAR(engine.currentPosition(), 2.0, 0.05);
    engine.setCurrentMarker(2);
    ASSERT_TRUE(probe.waitFor([&] { return engine.currentMarker() == 2; }));
    for (int outside : {0, 4, -1}) {
        engine.setCurrentMarker(outside);
        QTest::qWait(50);
        EXPECT_EQ(engine.currentMarker(), 2) << outside;
    }
    // Media without chapters.
    ASSERT_TRUE(probe.open(test::toneWav(2.0)));
    EXPECT_EQ(engine.markerCount(), 0);
    EXPECT_EQ(engine.currentMarker(), 0);
}

TEST_F(GstEngineTest, MediaInformationComesFromTheTags)
{
    ASSERT_TRUE(probe.open(test::toneMp3(3.0)));
    // Tags may follow the preroll by a moment.
    ASSERT_TRUE(probe.waitFor([&] { return !engine.mediaInfoString(10).isEmpty(); }));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoTitle), QStringLiteral("Tone Title"));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoAuthor), QStringLiteral("Tone Artist"));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoCopyright), QStringLiteral("Tone Copyright"));
    EXPECT_EQ(engine.mediaInfoString(11), QString());

    ASSERT_TRUE(probe.open(oggMedia()));
    ASSERT_TRUE(probe.waitFor([&] { return !engine.mediaInfoString(12).isEmpty(); }));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoDescription), QStringLiteral("Ogg About"));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoAuthor), QStringLiteral("Ogg Artist"));

    ASSERT_TRUE(probe.open(wmvMedia()));
    ASSERT_TRUE(probe.waitFor([&] { return !engine.mediaInfoString(10).isEmpty(); }));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoTitle), QStringLiteral("Wmv Title"));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoAuthor), QStringLiteral("Wmv Author"));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoCopyright), QStringLiteral("Wmv Rights"));
    // A new location forgets the old texts.
    ASSERT_TRUE(probe.open(flacMedia()));
    EXPECT_EQ(engine.mediaInfoString(MediaPlayer::InfoTitle), QString());
}

TEST_F(GstEngineTest, AsxEntriesWithTheirTexts)
{
    const QString mp3 = test::toneMp3(3.0);
    // Entry 2 names its media as an encoded URL, with a blank in the name.
    const QString wav = tmp.filePath(QStringLiteral("two words.wav"));
    ASSERT_TRUE(QFile::copy(test::toneWav(2.0), wav));
    const QString asx =
        writeFile(tmp.filePath(QStringLiteral("list.asx")),
                  QStringLiteral("<ASX version=\"3.0\"><TITLE>List</TITLE>"
                                 "<ENTRY><TITLE>First</TITLE><AUTHOR>Author 1</AUTHOR>"
                                 "<COPYRIGHT>Rights 1</COPYRIGHT><ABSTRACT>About 1</ABSTRACT>"
                                 "<REF HREF=\"missing.mp3\"/><REF HREF=\"%1\"/></ENTRY>"
                                 "<Entry><Ref href=\"%2\"/></Entry></ASX>")
                      .arg(mp3, QString::fromUtf8(QUrl::fromLocalFile(wav).toEncoded()))
                      .toUtf8());
    ASSERT_TRUE(probe.open(QStringLiteral("file://") + asx))
        << engine.errorDescription().toStdString();
    EXPECT_EQ(engine.entryCount(), 2);
    EXPECT_EQ(engine.currentEntry(), 1);
    EXPECT_EQ(engine.mediaInfoString(8), QStringLiteral("First"));
    EXPECT_EQ(engine.mediaInfoString(9), QStringLiteral("Author 1"));
    EXPECT_EQ(engine.mediaInfoString(10), QStringLiteral("Rights 1"));
    EXPECT_EQ(engine.mediaInfoString(12), QStringLiteral("About 1"));
    EXPECT_NEAR(engine.duration(), 3.0, 0.3);

    // Entry 2 has no texts of its own: its media's tags, then the list's.
    probe.clear();
    engine.setCurrentEntry(2);
    EXPECT_EQ(engine.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(engine.mediaInfoString(8), QStringLiteral("List"));
    ASSERT_TRUE(probe.waitFor([&] { return engine.isDurationValid(); }));
    EXPECT_NEAR(engine.duration(), 2.0, 0.3);
    EXPECT_EQ(engine.codecDescription(1), QStringLiteral("Uncompressed 16-bit PCM audio"));
    engine.play();
    ASSERT_TRUE(probe.waitForPosition(0.1));
    // Switching while playing keeps playing, without passing through closed.
    engine.setCurrentEntry(1);
    ASSERT_TRUE(probe.waitFor([&] { return engine.isDurationValid() && engine.duration() > 2.5; }));
    EXPECT_EQ(engine.playState(), MediaPlayer::Playing);
    engine.stop();
    ASSERT_TRUE(probe.waitFor([&] { return probe.states.size() == 2; }));
    EXPECT_EQ(probe.states, (QList<std::pair<int, int>>{{0, 2}, {2, 0}}));
    EXPECT_EQ(probe.errors, 0);
}

TEST_F(GstEngineTest, BaseSettingsChangeWhatTheEngineDoes)
{
    engine.setAutoStart(true);
    engine.setFileName(test::toneWav(2.0));
    ASSERT_TRUE(probe.waitFor([&] { return probe.states.size() == 2; }));
    EXPECT_EQ(probe.states, (QList<std::pair<int, int>>{{6, 0}, {0, 2}}));
    EXPECT_EQ(engine.playState(), MediaPlayer::Playing);

    engine.setAutoStart(false);
    engine.setSendStateEvents(false);
    QTest::qWait(20);
    probe.clear();
    engine.setFileName(test::toneMp3(3.0));
    ASSERT_TRUE(probe.waitForState(MediaPlayer::Stopped));
    engine.play();
    QTest::qWait(50);
    EXPECT_TRUE(probe.states.isEmpty());

    engine.setSendErrorEvents(false);
    engine.setFileName(tmp.filePath(QStringLiteral("none.mp3")));
    QTest::qWait(50);
    EXPECT_TRUE(engine.hasError());
    EXPECT_EQ(probe.errors, 0);

    engine.setMuted(true);
    EXPECT_TRUE(engine.isMuted());
    engine.setDisplaySize(7);
    EXPECT_EQ(engine.displaySize(), MediaPlayer::DisplayDefault);
    engine.setDisplaySize(MediaPlayer::DisplayFitToSize);
    EXPECT_EQ(engine.displaySize(), MediaPlayer::DisplayFitToSize);
}

TEST_F(GstEngineTest, ReportsForTheDialogs)
{
    ASSERT_TRUE(probe.open(aviMedia()));
    int requested = -1;
    QObject::connect(&engine, &MediaPlayer::dialogRequested, [&](int which) { requested = which; });
    engine.showDialog(MediaPlayer::DialogStatistics);
    EXPECT_EQ(requested, -1); // never inside the call
    ASSERT_TRUE(probe.waitFor([&] { return requested == MediaPlayer::DialogStatistics; }));
    engine.aboutBox();
    ASSERT_TRUE(probe.waitFor([&] { return requested == MediaPlayer::DialogAbout; }));
    const playback::EngineReport stats = engine.report(MediaPlayer::DialogStatistics);
    EXPECT_FALSE(stats.title.isEmpty());
    EXPECT_TRUE(stats.rows.contains(
        std::make_pair(QStringLiteral("Picture"), QStringLiteral("160 x 120"))));
    EXPECT_FALSE(engine.report(MediaPlayer::DialogAbout).rows.isEmpty());
    EXPECT_FALSE(engine.report(MediaPlayer::DialogOptions).rows.isEmpty());
}

TEST_F(GstEngineTest, TruncatedMediaPlaysWhatIsThereAndStops)
{
    QFile whole(test::toneMp3(3.0));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString half =
        writeFile(tmp.filePath(QStringLiteral("half.mp3")), bytes.left(bytes.size() / 2));
    ASSERT_TRUE(probe.open(half));
    engine.setCurrentPosition(1.0);
    engine.play();
    ASSERT_TRUE(probe.waitForState(MediaPlayer::Stopped));
    EXPECT_EQ(probe.errors, 0);
}

TEST_F(GstEngineTest, AStreamWithoutDecoderIsARecoverableWarning)
{
    // Snow video has no GStreamer decoder; the Vorbis sound still plays.
    const QString clip = test::generatedMedia(
        QStringLiteral("gst-snow-video.mkv"),
        args({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1", "-f", "lavfi", "-i",
              "sine=duration=1", "-c:v", "snow", "-c:a", "libvorbis", "-strict", "-2"}));
    engine.setFileName(clip);
    ASSERT_TRUE(probe.waitForState(MediaPlayer::Stopped))
        << engine.errorDescription().toStdString();
    ASSERT_TRUE(probe.waitFor([&] { return probe.errors == 1; }));
    EXPECT_EQ(probe.errorRecoveries, QStringList{QStringLiteral("continue")});
    EXPECT_EQ(engine.errorCode(), MediaPlayer::WarningRecoverable);
    EXPECT_FALSE(engine.errorDescription().isEmpty());
    engine.play();
    ASSERT_TRUE(probe.waitForState(MediaPlayer::Stopped));
    EXPECT_EQ(probe.errors, 1);
}

TEST_F(GstEngineTest, EventsKeepTheirOrderWhenAHandlerPumpsEvents)
{
    // The controller's handlers wait for engines by pumping events; the
    // events that arrive meanwhile must still come once each, in order.
    QList<std::pair<int, int>> seen;
    int depth = 0;
    QObject::connect(&engine, &MediaPlayer::playStateChanged, [&](int from, int to) {
        seen.append({from, to});
        ++depth;
        if (depth == 1)
            QTest::qWait(100);
        --depth;
    });
    engine.setFileName(test::toneWav(2.0));
    ASSERT_TRUE(probe.waitForState(MediaPlayer::Stopped));
    engine.play();
    engine.pause();
    engine.play();
    engine.stop();
    engine.setFileName(QString());
    ASSERT_TRUE(probe.waitFor([&] { return seen.size() == 6; }));
    QTest::qWait(50);
    EXPECT_EQ(seen, (QList<std::pair<int, int>>{{6, 0}, {0, 2}, {2, 1}, {1, 2}, {2, 0}, {0, 6}}));
}

// Bad input: each ends in the error event, with the media closed.
struct BadCase {
    const char *name;
    QString (*make)(const QString &dir);
    qint32 code;
};

class GstBadInputTest : public GstEngineTest, public ::testing::WithParamInterface<BadCase>
{
};

TEST_P(GstBadInputTest, EndsInTheErrorReport)
{
    const BadCase &c = GetParam();
    const QString location = c.make(tmp.path());
    ASSERT_FALSE(location.isEmpty());
    QElapsedTimer clock;
    clock.start();
    engine.setFileName(location);
    ASSERT_TRUE(probe.waitFor([&] { return probe.errors > 0; }, 10000));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(engine.hasError());
    EXPECT_EQ(engine.errorCode(), c.code)
        << std::hex << engine.errorCode() << " " << engine.errorDescription().toStdString();
    EXPECT_FALSE(engine.errorDescription().isEmpty());
    EXPECT_EQ(probe.errorRecoveries, QStringList{QStringLiteral("none")});
    EXPECT_EQ(engine.playState(), MediaPlayer::Closed);
    EXPECT_TRUE(probe.states.isEmpty());
    // Nothing follows, and the engine takes the next location.
    QTest::qWait(100);
    EXPECT_EQ(probe.errors, 1);
    ASSERT_TRUE(probe.open(test::toneWav(2.0))) << engine.errorDescription().toStdString();
    EXPECT_FALSE(engine.hasError());
}

QString bytesFile(const QString &dir, const char *name, const QByteArray &bytes)
{
    return writeFile(dir + QLatin1Char('/') + QString::fromUtf8(name), bytes);
}

const BadCase kBadCases[] = {
    {"missing",
     [](const QString &d) -> QString {
         return QStringLiteral("file://") + d + QStringLiteral("/no.mp3");
     },
     MediaPlayer::ErrorFileNotFound},
    {"windows_path",
     [](const QString &) -> QString { return QStringLiteral("file://C:/Music/a.mp3"); },
     MediaPlayer::ErrorFileNotFound},
    {"zero_length", [](const QString &d) -> QString { return bytesFile(d, "empty.mp3", {}); },
     MediaPlayer::ErrorNotMediaFile},
    {"random_bytes",
     [](const QString &d) -> QString {
         QByteArray noise(20000, '\0');
         quint32 x = 12345;
         for (char &b : noise) {
             x = x * 1103515245u + 12345u;
             b = char(x >> 24);
         }
         return bytesFile(d, "noise.mp3", noise);
     },
     MediaPlayer::ErrorNotMediaFile},
    {"directory",
     [](const QString &d) -> QString {
         QDir(d).mkdir(QStringLiteral("a.wmv"));
         return d + QStringLiteral("/a.wmv");
     },
     MediaPlayer::ErrorNotMediaFile},
    {"fifo",
     [](const QString &d) -> QString {
         const QString p = d + QStringLiteral("/a.mp3");
         return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0 ? p : QString();
     },
     MediaPlayer::ErrorNotMediaFile},
    {"tag_only_mp3",
     [](const QString &d) -> QString {
         QFile f(test::toneMp3(3.0));
         return f.open(QIODevice::ReadOnly) ? bytesFile(d, "cut.mp3", f.read(100)) : QString();
     },
     MediaPlayer::ErrorDecode},
    {"http_refused",
     [](const QString &) -> QString { return QStringLiteral("http://127.0.0.1:9/a.mp3"); },
     MediaPlayer::ErrorNetwork},
    {"http_unknown_host",
     [](const QString &) -> QString { return QStringLiteral("http://host.invalid/a.mp3"); },
     MediaPlayer::ErrorNetwork},
    {"asx_malformed",
     [](const QString &d) -> QString { return bytesFile(d, "bad.asx", "<asx><entry><title>x"); },
     MediaPlayer::ErrorPlaylist},
    {"asx_not_xml",
     [](const QString &d) -> QString { return bytesFile(d, "bad.wvx", "\xff\xfe\x00garbage"); },
     MediaPlayer::ErrorPlaylist},
    {"asx_self_reference",
     [](const QString &d) -> QString {
         return bytesFile(d, "self.asx", "<asx><entry><ref href=\"self.asx\"/></entry></asx>");
     },
     MediaPlayer::ErrorPlaylist},
    {"asx_missing_media",
     [](const QString &d) -> QString {
         return bytesFile(d, "gone.wax", "<asx><entry><ref href=\"gone.mp3\"/></entry></asx>");
     },
     MediaPlayer::ErrorFileNotFound},
    {"realaudio_144", [](const QString &) -> QString { return realMedia(); },
     MediaPlayer::ErrorUnsupported},
    // Never handed to GStreamer: a socket that waits for packets, a
    // descriptor of the player, a device, the kernel's files.
    {"udp_socket",
     [](const QString &) -> QString { return QStringLiteral("udp://127.0.0.1:5004/live.mpg"); },
     MediaPlayer::ErrorNotMediaFile},
    {"descriptor", [](const QString &) -> QString { return QStringLiteral("fd://0"); },
     MediaPlayer::ErrorNotMediaFile},
    {"capture_device",
     [](const QString &) -> QString { return QStringLiteral("v4l2:///dev/video0"); },
     MediaPlayer::ErrorNotMediaFile},
    {"kernel_file",
     [](const QString &) -> QString { return QStringLiteral("file:///proc/self/status"); },
     MediaPlayer::ErrorNotMediaFile},
    {"asx_udp_ref",
     [](const QString &d) -> QString {
         return bytesFile(d, "udp.asx",
                          "<asx><entry><ref href=\"udp://127.0.0.1:5004/a.mpg\"/></entry></asx>");
     },
     MediaPlayer::ErrorNotMediaFile},
};

INSTANTIATE_TEST_SUITE_P(BadInput, GstBadInputTest, ::testing::ValuesIn(kBadCases),
                         [](const auto &p) { return std::string(p.param.name); });

} // namespace
