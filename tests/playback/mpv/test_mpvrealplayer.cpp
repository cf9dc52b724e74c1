// The libmpv RealPlayer engine on real files (ao=null keeps real time).
#include "tests/playback/mpv/httpserver.h"
#include "tests/playback/mpv/mpvtesthelpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <sys/stat.h>

using orvane::playback::RealPlayer;
using orvane::playback::mpv::MpvRealPlayer;
using namespace orvane::test;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class MpvRealPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_log.watch(m_engine);
    }
    // Plays until the engine reports Playing (or gives up).
    bool playUntilPlaying(const QString &location)
    {
        m_engine.setSource(location);
        m_engine.play();
        return waitUntil([this] { return m_engine.playState() == RealPlayer::Playing; });
    }
    bool waitStopped(int ms = 10000)
    {
        return waitUntil([this] { return m_engine.playState() == RealPlayer::Stopped; }, ms);
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    MpvRealPlayer m_engine{nullptr, quietOptions()};
    EngineLog m_log;
};

struct ClipCase {
    const char *name;
    QString (*make)();
    int width, height;
    const char *title;
    const char *author;
    const char *copyright;
};

class MpvClipTest : public MpvRealPlayerTest, public ::testing::WithParamInterface<ClipCase>
{
};

TEST_P(MpvClipTest, OpensPlaysAndDescribesTheClip)
{
    const ClipCase &clip = GetParam();
    const QString file = clip.make();
    ASSERT_FALSE(file.isEmpty());
    // The adding code reads the clip's facts as soon as it hears of it.
    QString titleWhenOpened;
    qint32 lengthWhenOpened = -1;
    int widthWhenOpened = -1;
    QObject::connect(&m_engine, &RealPlayer::clipOpened, [&] {
        titleWhenOpened = m_engine.title();
        lengthWhenOpened = m_engine.length();
        widthWhenOpened = m_engine.clipWidth();
    });
    ASSERT_TRUE(playUntilPlaying(fileUrl(file))) << m_log.events.join(u',').toStdString();
    EXPECT_EQ(titleWhenOpened, QString::fromUtf8(clip.title));
    EXPECT_EQ(lengthWhenOpened, m_engine.length());
    EXPECT_EQ(widthWhenOpened, clip.width);
    EXPECT_EQ(m_log.states.value(0), RealPlayer::Contacting);
    EXPECT_EQ(m_log.openedUrls, QStringList{fileUrl(file)});
    EXPECT_TRUE(m_log.errors.isEmpty());
    EXPECT_TRUE(m_engine.canPlay());
    EXPECT_TRUE(m_engine.canSeek());
    EXPECT_EQ(m_engine.numEntries(), 1);
    EXPECT_EQ(m_engine.currentEntry(), 1);
    EXPECT_EQ(m_engine.clipWidth(), clip.width);
    EXPECT_EQ(m_engine.clipHeight(), clip.height);
    EXPECT_EQ(m_engine.title(), QString::fromUtf8(clip.title));
    EXPECT_EQ(m_engine.author(), QString::fromUtf8(clip.author));
    EXPECT_EQ(m_engine.copyright(), QString::fromUtf8(clip.copyright));
    EXPECT_EQ(m_engine.entryTitle(0), QString::fromUtf8(clip.title));
    EXPECT_EQ(m_engine.entryAuthor(0), QString::fromUtf8(clip.author));
    // Also for RealMedia whose packets carry no time (RealAudio, AAC).
    EXPECT_NEAR(m_engine.length(), 3000, 150);
    m_engine.stop();
    EXPECT_TRUE(waitStopped());
}

// Every format shows the time, seeks and ends the same way; RealMedia
// without packet times used to stand still and end at the first seek.
TEST_P(MpvClipTest, ShowsTheTimeSeeksAndEnds)
{
    ASSERT_TRUE(playUntilPlaying(fileUrl(GetParam().make())));
    const qint32 first = m_engine.position();
    QElapsedTimer clock;
    clock.start();
    waitUntil([] { return false; }, 500);
    const qint32 moved = m_engine.position() - first;
    EXPECT_GT(moved, clock.elapsed() / 3);
    EXPECT_LT(moved, clock.elapsed() * 2 + 100);

    m_engine.setPosition(1500);
    EXPECT_EQ(m_engine.position(), 1500);
    ASSERT_TRUE(waitUntil([this] { return m_engine.playState() == RealPlayer::Playing; }));
    EXPECT_GE(m_engine.position(), 1400);
    EXPECT_LT(m_engine.position(), 2300);

    m_log.clear();
    ASSERT_TRUE(waitStopped(5000)) << m_log.events.join(u',').toStdString();
    EXPECT_EQ(m_log.events, (QStringList{QStringLiteral("closed"), QStringLiteral("state 0")}));
    EXPECT_TRUE(m_log.errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, MpvClipTest,
    ::testing::Values(ClipCase{"RealMediaRv10Real144", realVideoClip, 160, 112, "RM Title",
                               "RM Author", "RM Copyright"},
                      ClipCase{"RealAudio144", realAudioClip, 0, 0, "", "", ""},
                      ClipCase{"AacInRealMedia", aacRealMediaClip, 0, 0, "", "", ""},
                      ClipCase{"Mp3WithTags", [] { return toneMp3(3.0); }, 0, 0, "Tone Title",
                               "Tone Artist", "Tone Copyright"},
                      ClipCase{"Wav", [] { return toneWav(3.0); }, 0, 0, "", "", ""},
                      ClipCase{"OggVorbis", oggClip, 0, 0, "Ogg Title", "", ""}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

// The adding code's probe: play, wait for the first report, stop, then wait
// until the state is not 0. The state must still be the clip's own right
// after stop(), or that wait would never end.
TEST_F(MpvRealPlayerTest, ProbeSequenceEndsPromptlyOnGoodFiles)
{
    const QStringList files{realVideoClip(), realAudioClip(), toneMp3(3.0), toneWav(3.0),
                            oggClip()};
    for (int round = 0; round < 4; ++round) {
        for (const QString &file : files) {
            m_log.clear();
            m_engine.setSource(fileUrl(file));
            m_engine.play();
            ASSERT_TRUE(waitUntil([this] {
                return !m_log.openedUrls.isEmpty() || !m_log.errors.isEmpty();
            })) << file.toStdString();
            m_engine.stop();
            EXPECT_NE(m_engine.playState(), RealPlayer::Stopped) << file.toStdString();
            EXPECT_TRUE(
                waitUntil([this] { return m_engine.playState() != RealPlayer::Stopped; }, 1000));
            EXPECT_TRUE(m_engine.canPlay()) << file.toStdString();
            EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.events.join(u',').toStdString();
            // The clip's report of the stop follows.
            EXPECT_TRUE(waitStopped());
        }
    }
}

TEST_F(MpvRealPlayerTest, StatesFollowPlayPauseStop)
{
    ASSERT_TRUE(playUntilPlaying(fileUrl(toneMp3(10.0))));
    m_engine.pause();
    ASSERT_TRUE(waitUntil([this] { return m_engine.playState() == RealPlayer::Paused; }));
    // The clock does not carry the position on while paused (libmpv's last
    // report may still move it by a millisecond or two).
    const qint32 pausedAt = m_engine.position();
    for (int i = 0; i < 10; ++i) {
        waitUntil([] { return false; }, 30);
        EXPECT_NEAR(m_engine.position(), pausedAt, 20);
    }
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_engine.playState() == RealPlayer::Playing; }));
    m_engine.stop();
    EXPECT_EQ(m_engine.playState(), RealPlayer::Playing); // changes with the engine's report
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(m_log.states, (QList<int>{1, 3, 4, 3, 0}));
    EXPECT_EQ(m_log.events.first(), QStringLiteral("state 1"));
    EXPECT_EQ(m_log.events.mid(m_log.events.size() - 2),
              (QStringList{QStringLiteral("closed"), QStringLiteral("state 0")}));
    EXPECT_EQ(m_engine.position(), 0);
    // A stopped clip plays again from the start.
    ASSERT_TRUE(playUntilPlaying(m_engine.source()));
    EXPECT_LT(m_engine.position(), 1000);
}

TEST_F(MpvRealPlayerTest, SeeksWhilePlayingAndWhileStopped)
{
    ASSERT_TRUE(playUntilPlaying(fileUrl(toneMp3(10.0))));
    EXPECT_NEAR(m_engine.length(), 10000, 150);
    m_engine.setPosition(6000);
    EXPECT_EQ(m_engine.playState(), RealPlayer::Seeking);
    EXPECT_EQ(m_engine.position(), 6000);
    ASSERT_TRUE(waitUntil([this] { return m_engine.playState() == RealPlayer::Playing; }));
    EXPECT_GE(m_engine.position(), 6000);
    EXPECT_LT(m_engine.position(), 7500);
    EXPECT_TRUE(m_log.states.contains(RealPlayer::Seeking));

    // Outside the clip: refused, a recoverable error, playback goes on.
    m_engine.setPosition(60000);
    ASSERT_TRUE(waitUntil([this] { return !m_log.errors.isEmpty(); }));
    EXPECT_EQ(m_log.errors[0].severity, RealPlayer::Informational);
    EXPECT_EQ(m_log.errors[0].userCode, RealPlayer::SeekRefused);
    EXPECT_EQ(m_engine.playState(), RealPlayer::Playing);

    // While stopped, the position says where the next play starts.
    m_engine.stop();
    ASSERT_TRUE(waitStopped());
    m_engine.setPosition(8000);
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_engine.playState() == RealPlayer::Playing; }));
    EXPECT_GE(m_engine.position(), 7900);
}

// PCM files load with options of their own, joined by a start position
// when playback resumes: libmpv must take both and start there.
class MpvPcmResumeTest : public MpvRealPlayerTest,
                         public ::testing::WithParamInterface<const char *>
{
};

TEST_P(MpvPcmResumeTest, PlaysFromTheStartPositionToTheEnd)
{
    const QString suffix = QString::fromLatin1(GetParam());
    const QString clip =
        generatedMedia(QStringLiteral("mpv-resume-4s.") + suffix,
                       {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("sine=frequency=550:duration=4")});
    m_engine.setSource(fileUrl(clip));
    m_engine.setPosition(3000);
    QElapsedTimer clock;
    clock.start();
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_engine.playState() == RealPlayer::Playing; }))
        << m_log.events.join(u',').toStdString();
    EXPECT_GE(m_engine.position(), 2900);
    // From the start position the last second plays, not all four.
    ASSERT_TRUE(waitStopped(6000));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.events.join(u',').toStdString();
    EXPECT_TRUE(m_log.events.contains(QStringLiteral("opened mpv-resume-4s.") + suffix));
}

INSTANTIATE_TEST_SUITE_P(Containers, MpvPcmResumeTest, ::testing::Values("wav", "aiff", "au"));

// The status line reads the position about 30 times a second; libmpv
// reports the time only a few times a second.
TEST_F(MpvRealPlayerTest, PositionMovesSmoothlyAndNeverBack)
{
    ASSERT_TRUE(playUntilPlaying(fileUrl(toneMp3(10.0))));
    qint32 last = m_engine.position();
    int samples = 0, moved = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500) {
        waitUntil([] { return false; }, 33);
        const qint32 now = m_engine.position();
        ASSERT_GE(now, last) << "after " << clock.elapsed() << " ms";
        EXPECT_LT(now - last, 400) << "a jump after " << clock.elapsed() << " ms";
        moved += now > last ? 1 : 0;
        ++samples;
        last = now;
    }
    EXPECT_GT(moved, samples * 7 / 10) << moved << " of " << samples;
}

struct StatisticsCase {
    const char *name;
    QString (*make)();
    const char *expected;
};

class MpvStatisticsTest : public MpvRealPlayerTest,
                          public ::testing::WithParamInterface<StatisticsCase>
{
};

// Asked while libmpv may be busy: from what it reported, never waiting.
TEST_P(MpvStatisticsTest, DescribesWhatPlays)
{
    const StatisticsCase &param = GetParam();
    EXPECT_EQ(m_engine.statisticsText(), QStringLiteral("No clip is open."));
    ASSERT_TRUE(playUntilPlaying(fileUrl(param.make())));
    EXPECT_TRUE(waitUntil([&] {
        return m_engine.statisticsText().contains(QString::fromUtf8(param.expected));
    })) << m_engine.statisticsText().toStdString();
    EXPECT_TRUE(m_engine.statisticsText().contains(QStringLiteral("Format: rm")) ||
                !QString::fromUtf8(param.name).startsWith(u"Real"));
    m_engine.stop();
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(m_engine.statisticsText(), QStringLiteral("No clip is open."));
}

INSTANTIATE_TEST_SUITE_P(
    Clips, MpvStatisticsTest,
    ::testing::Values(StatisticsCase{"Mp3", [] { return toneMp3(3.0); }, "Audio codec: mp3"},
                      StatisticsCase{"RealAudioOnly", realAudioClip, "Audio codec: ra_144"},
                      StatisticsCase{"RealVideo", realVideoClip, "Video codec: rv10"}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

TEST_F(MpvRealPlayerTest, LoopCountPlaysTheClipThatManyTimes)
{
    m_engine.setSource(fileUrl(toneWav(0.5)));
    m_engine.play();
    m_engine.setLoopCount(3); // set after play, as the controller does
    ASSERT_TRUE(waitUntil([this] { return m_log.states.size() > 1 && m_engine.playState() == 0; }));
    EXPECT_EQ(m_log.openedUrls.size(), 3);
    EXPECT_EQ(m_log.states.last(), RealPlayer::Stopped);
    EXPECT_EQ(m_log.states.count(RealPlayer::Stopped), 1); // no stop between rounds

    m_log.clear();
    m_engine.setLooping(true);
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_log.openedUrls.size() >= 4; }));
    EXPECT_FALSE(m_log.states.contains(RealPlayer::Stopped));
    m_engine.stop();
    EXPECT_TRUE(waitStopped());
}

TEST_F(MpvRealPlayerTest, RamEntriesPlayInTurnWithTheirTexts)
{
    const QString ram = path(QStringLiteral("list.ram"));
    QDir().mkpath(path(QStringLiteral("media")));
    QFile::copy(toneWav(0.5), path(QStringLiteral("media/one.wav")));
    writeFile(ram, "# two clips\r\n"
                   "media/one.wav?title=First&author=Someone&copyright=(c) Us&abstract=Short\r\n"
                   "\r\n" +
                       fileUrl(realAudioClip()).toUtf8() + "\r\n");
    m_engine.setSource(fileUrl(ram));
    ASSERT_EQ(m_engine.numEntries(), 2);
    EXPECT_EQ(m_engine.currentEntry(), 1);
    EXPECT_EQ(m_engine.entryTitle(0), QStringLiteral("First"));
    EXPECT_EQ(m_engine.entryAuthor(0), QStringLiteral("Someone"));
    EXPECT_EQ(m_engine.entryCopyright(0), QStringLiteral("(c) Us"));
    EXPECT_EQ(m_engine.entryAbstract(0), QStringLiteral("Short"));
    EXPECT_EQ(m_engine.entryTitle(1), QString());
    EXPECT_EQ(m_engine.entryTitle(2), QString());

    // Moving between entries while stopped only moves the cursor.
    m_engine.nextEntry();
    m_engine.nextEntry();
    EXPECT_EQ(m_engine.currentEntry(), 2);
    m_engine.previousEntry();
    m_engine.previousEntry();
    EXPECT_EQ(m_engine.currentEntry(), 1);

    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_log.openedUrls.size() == 2; }));
    EXPECT_EQ(m_engine.currentEntry(), 2);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(m_log.openedUrls, (QStringList{fileUrl(path(QStringLiteral("media/one.wav"))),
                                             fileUrl(realAudioClip())}));
    EXPECT_EQ(m_log.states.count(RealPlayer::Stopped), 1);
    EXPECT_TRUE(m_log.errors.isEmpty());
    EXPECT_EQ(m_engine.numEntries(), 2); // kept after the end for the adding code

    // Next entry while playing opens it at once.
    m_log.clear();
    ASSERT_TRUE(playUntilPlaying(m_engine.source()));
    m_engine.nextEntry();
    ASSERT_TRUE(waitUntil([this] { return m_log.openedUrls.size() == 2; }));
    EXPECT_EQ(m_log.openedUrls.last(), fileUrl(realAudioClip()));
    m_engine.stop();
    EXPECT_TRUE(waitStopped());
}

TEST_F(MpvRealPlayerTest, SmilEntriesCarryTheirTexts)
{
    const QString smil = path(QStringLiteral("show.smil"));
    writeFile(smil, "<smil><head><meta name=\"author\" content=\"Head Author\"/>"
                    "<meta name=\"copyright\" content=\"Head Copy\"/></head><body><seq>"
                    "<audio src=\"" +
                        fileUrl(toneWav(0.5)).toUtf8() +
                        "\" title=\"Intro\" abstract=\"The start\"/>"
                        "<video src=\"" +
                        QFileInfo(realVideoClip()).fileName().toUtf8() +
                        "\" title=\"Clip\" author=\"Maker\" copyright=\"(c) Maker\"/>"
                        "</seq></body></smil>");
    QFile::copy(realVideoClip(), path(QFileInfo(realVideoClip()).fileName()));
    m_engine.setSource(smil); // a plain path works as well as "file://"
    ASSERT_EQ(m_engine.numEntries(), 2);
    EXPECT_EQ(m_engine.entryTitle(0), QStringLiteral("Intro"));
    EXPECT_EQ(m_engine.entryAuthor(0), QStringLiteral("Head Author"));
    EXPECT_EQ(m_engine.entryCopyright(0), QStringLiteral("Head Copy"));
    EXPECT_EQ(m_engine.entryAbstract(0), QStringLiteral("The start"));
    EXPECT_EQ(m_engine.entryTitle(1), QStringLiteral("Clip"));
    EXPECT_EQ(m_engine.entryAuthor(1), QStringLiteral("Maker"));
    EXPECT_EQ(m_engine.entryCopyright(1), QStringLiteral("(c) Maker"));

    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_log.openedUrls.size() == 2; }));
    ASSERT_TRUE(waitUntil([this] { return m_engine.clipWidth() > 0; }));
    EXPECT_EQ(m_engine.clipWidth(), 160);
    EXPECT_EQ(m_engine.title(), QStringLiteral("RM Title"));
    m_engine.stop();
    EXPECT_TRUE(waitStopped());
}

TEST_F(MpvRealPlayerTest, EmptySourceStopsWithTheEnginesReport)
{
    ASSERT_TRUE(playUntilPlaying(fileUrl(toneMp3(10.0))));
    m_engine.setSource(QString());
    EXPECT_EQ(m_engine.source(), QString());
    EXPECT_EQ(m_engine.numEntries(), 0);
    EXPECT_EQ(m_engine.currentEntry(), 0);
    EXPECT_FALSE(m_engine.canPlay());
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(m_engine.length(), -1);
    m_engine.play(); // nothing to play: nothing happens
    EXPECT_EQ(m_engine.playState(), RealPlayer::Stopped);
}

// The user interface embeds the picture window; whichever goes first, the
// window is deleted once.
TEST(MpvRealPlayerWindow, SurvivesAContainerThatDeletesTheWindow)
{
    auto engine = std::make_unique<MpvRealPlayer>(nullptr, quietOptions());
    QPointer<QWindow> window = engine->videoWindow();
    ASSERT_TRUE(window);
    auto *container = QWidget::createWindowContainer(window);
    engine->setSource(fileUrl(toneWav(0.5)));
    engine->play();
    ASSERT_TRUE(waitUntil([&] { return engine->playState() == RealPlayer::Playing; }));
    delete container;
    EXPECT_FALSE(window);
    engine.reset();

    // The other order: the engine goes first, the container stays empty.
    std::unique_ptr<QWidget> kept;
    MpvRealPlayer second(nullptr, quietOptions());
    kept.reset(QWidget::createWindowContainer(second.videoWindow()));
}

// A handler that pumps events (as the program's waits do) must still see
// the reports in the order the engine raised them.
TEST_F(MpvRealPlayerTest, ReportsKeepTheirOrderWhileAHandlerPumpsEvents)
{
    bool pumped = false;
    QObject::connect(&m_engine, &RealPlayer::clipOpened, [&pumped] {
        if (!pumped) {
            pumped = true;
            waitUntil([] { return false; }, 300);
        }
    });
    m_engine.setSource(fileUrl(toneWav(0.5)));
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_log.states.size() >= 3; }));
    EXPECT_EQ(m_log.events,
              (QStringList{QStringLiteral("state 1"), QStringLiteral("opened tone-0.5s.wav"),
                           QStringLiteral("state 3"), QStringLiteral("closed"),
                           QStringLiteral("state 0")}));
}

struct BadInput {
    const char *name;
    int userCode;
};

class MpvBadInputTest : public MpvRealPlayerTest, public ::testing::WithParamInterface<BadInput>
{
protected:
    QString makeInput(const QString &name)
    {
        if (name == u"missing")
            return path(QStringLiteral("nothing-here.rm"));
        if (name == u"zeroLength") {
            writeFile(path(QStringLiteral("empty.rm")), {});
            return path(QStringLiteral("empty.rm"));
        }
        if (name == u"randomBytes") {
            QByteArray noise;
            for (int i = 0; i < 65536; ++i)
                noise += char((i * 7919 + 13) ^ (i >> 3));
            writeFile(path(QStringLiteral("noise.mp3")), noise);
            return path(QStringLiteral("noise.mp3"));
        }
        if (name == u"directory") {
            QDir().mkpath(path(QStringLiteral("a.wmv")));
            return path(QStringLiteral("a.wmv"));
        }
        if (name == u"fifo") {
            const QString fifo = path(QStringLiteral("a.mp3"));
            ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
            return fifo;
        }
        if (name == u"truncatedMp3") {
            QFile whole(toneMp3(3.0));
            whole.open(QIODevice::ReadOnly);
            writeFile(path(QStringLiteral("cut.mp3")), whole.read(200)); // the tag only
            return path(QStringLiteral("cut.mp3"));
        }
        if (name == u"unreachableHttp")
            return QStringLiteral("http://192.0.2.1/stream.rm");
        if (name == u"unknownScheme")
            return QStringLiteral("pnm://example/clip.rm");
        if (name == u"kernelFile")
            return QStringLiteral("file:///proc/self/status");
        if (name == u"ramOfDevices") {
            writeFile(path(QStringLiteral("dev.ram")), "v4l2:///dev/video0\nfd://0\n");
            return path(QStringLiteral("dev.ram"));
        }
        if (name == u"malformedSmil") {
            writeFile(path(QStringLiteral("bad.smil")), "<smil><body><audio src=\"x.rm\"</body>");
            return path(QStringLiteral("bad.smil"));
        }
        if (name == u"smilNotSmil") {
            writeFile(path(QStringLiteral("html.smi")), "<html><body>subtitles</body></html>");
            return path(QStringLiteral("html.smi"));
        }
        if (name == u"selfReferencingSmil") {
            writeFile(path(QStringLiteral("loop.smil")),
                      "<smil><body><ref src=\"loop.smil\"/></body></smil>");
            return path(QStringLiteral("loop.smil"));
        }
        if (name == u"selfReferencingRam") {
            writeFile(path(QStringLiteral("loop.ram")),
                      "loop.ram\n" + fileUrl(path(QStringLiteral("b.rpm"))).toUtf8());
            writeFile(path(QStringLiteral("b.rpm")), "loop.ram\n");
            return path(QStringLiteral("loop.ram"));
        }
        if (name == u"foreignPlaylist") {
            writeFile(path(QStringLiteral("list.m3u")), "#EXTM3U\n" + toneWav(0.5).toUtf8() + "\n");
            return path(QStringLiteral("list.m3u"));
        }
        if (name == u"binaryRam") {
            writeFile(path(QStringLiteral("bin.ram")), QByteArray("\x01\x02\x00\x7f garbage", 12));
            return path(QStringLiteral("bin.ram"));
        }
        if (name == u"emptyRam") {
            writeFile(path(QStringLiteral("none.ram")), "# nothing\n\n");
            return path(QStringLiteral("none.ram"));
        }
        if (name == u"ramOfMissingFiles") {
            writeFile(path(QStringLiteral("gone.ram")), "gone1.rm\ngone2.rm\n");
            return path(QStringLiteral("gone.ram"));
        }
        return {};
    }
};

TEST_P(MpvBadInputTest, EndsInAnErrorReport)
{
    const QString input = makeInput(QString::fromLatin1(GetParam().name));
    ASSERT_FALSE(input.isEmpty());
    QElapsedTimer clock;
    clock.start();
    m_engine.setSource(input);
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] {
        return !m_log.errors.isEmpty() && m_engine.playState() == RealPlayer::Stopped;
    })) << m_log.events.join(u',').toStdString();
    EXPECT_LT(clock.elapsed(), 10000);
    const EngineLog::Error &last = m_log.errors.last();
    EXPECT_LE(last.severity, RealPlayer::Error); // not one the program may ignore
    EXPECT_EQ(last.userCode, GetParam().userCode) << last.userText.toStdString();
    EXPECT_FALSE(last.userText.isEmpty());
    EXPECT_FALSE(m_engine.canPlay());
    EXPECT_EQ(m_log.states.first(), RealPlayer::Contacting);
    // The engine stays usable.
    m_log.clear();
    ASSERT_TRUE(playUntilPlaying(fileUrl(toneWav(0.5))));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, MpvBadInputTest,
    ::testing::Values(BadInput{"missing", RealPlayer::NotFound},
                      BadInput{"zeroLength", RealPlayer::EmptyFile},
                      BadInput{"randomBytes", RealPlayer::UnknownFormat},
                      BadInput{"directory", RealPlayer::NotARegularFile},
                      BadInput{"fifo", RealPlayer::NotARegularFile},
                      BadInput{"truncatedMp3", RealPlayer::UnknownFormat},
                      BadInput{"unreachableHttp", RealPlayer::NetworkFailed},
                      BadInput{"unknownScheme", RealPlayer::UnsupportedSource},
                      BadInput{"kernelFile", RealPlayer::UnsupportedSource},
                      BadInput{"ramOfDevices", RealPlayer::UnsupportedSource},
                      BadInput{"malformedSmil", RealPlayer::BadPlaylist},
                      BadInput{"smilNotSmil", RealPlayer::BadPlaylist},
                      BadInput{"selfReferencingSmil", RealPlayer::SelfReference},
                      BadInput{"selfReferencingRam", RealPlayer::SelfReference},
                      BadInput{"foreignPlaylist", RealPlayer::UnknownFormat},
                      BadInput{"binaryRam", RealPlayer::BadPlaylist},
                      BadInput{"emptyRam", RealPlayer::EmptyPlaylist},
                      BadInput{"ramOfMissingFiles", RealPlayer::NotFound}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

TEST_F(MpvRealPlayerTest, NetworkSourceReportsContactingBeforeItFails)
{
    m_engine.setSource(QStringLiteral("http://192.0.2.1/live.ram.rm"));
    m_engine.play();
    EXPECT_EQ(m_engine.playState(), RealPlayer::Contacting);
    EXPECT_FALSE(m_engine.canSeek());
    EXPECT_EQ(m_engine.length(), -1);
    ASSERT_TRUE(waitStopped());
    ASSERT_FALSE(m_log.errors.isEmpty());
    EXPECT_EQ(m_log.errors.last().userCode, RealPlayer::NetworkFailed);
}

// Cut in the middle of its frames an MP3 still holds sound: the engine plays
// that much and ends as at the end of any clip (cut inside the tag, it has
// none and fails: see the bad inputs).
TEST_F(MpvRealPlayerTest, Mp3CutInTheMiddlePlaysWhatItHasAndEnds)
{
    QFile whole(toneMp3(3.0));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    writeFile(path(QStringLiteral("half.mp3")), bytes.left(bytes.size() / 3 + 17));
    m_engine.setSource(path(QStringLiteral("half.mp3")));
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_log.states.size() > 1 && m_engine.playState() == 0; }));
    EXPECT_EQ(m_log.openedUrls.size(), 1);
    EXPECT_TRUE(m_log.states.contains(RealPlayer::Playing));
    EXPECT_TRUE(m_log.errors.isEmpty());
}

// A stream goes through contacting and buffering before it plays.
TEST_F(MpvRealPlayerTest, HttpStreamContactsBuffersAndPlays)
{
    QFile clip(realVideoClip());
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    HttpFileServer server(clip.readAll(), "application/vnd.rn-realmedia");
    ASSERT_TRUE(playUntilPlaying(server.url(QStringLiteral("clip.rm"))))
        << m_log.events.join(u',').toStdString();
    EXPECT_EQ(m_log.states.mid(0, 3),
              (QList<int>{RealPlayer::Contacting, RealPlayer::Buffering, RealPlayer::Playing}));
    EXPECT_TRUE(m_log.events.contains(QStringLiteral("buffering")));
    EXPECT_EQ(m_log.openedUrls, QStringList{server.url(QStringLiteral("clip.rm"))});
    EXPECT_EQ(m_engine.title(), QStringLiteral("RM Title"));
    EXPECT_EQ(m_engine.clipWidth(), 160);
    EXPECT_GT(server.requests(), 0);
    m_engine.stop();
    EXPECT_TRUE(waitStopped());
    EXPECT_TRUE(m_log.errors.isEmpty());
}

// What the engine reset writes, before libmpv starts and while it runs:
// nothing may start playing or break playback.
TEST_F(MpvRealPlayerTest, BaseSettingsOfTheResetKeepTheEngineQuiet)
{
    auto reset = [this] {
        m_engine.setControls(QStringLiteral("StatusBar"));
        m_engine.setVolume(100);
        m_engine.setAutoStart(false);
        m_engine.setShuffle(false);
        m_engine.setMaintainAspect(true);
        m_engine.setWantKeyboardEvents(false);
        m_engine.setWantMouseEvents(false);
        m_engine.setEnableContextMenu(false);
        m_engine.setOnScreenMessages(false);
        m_engine.setControls(QStringLiteral("ImageWindow"));
    };
    reset();
    m_engine.setSource(fileUrl(toneWav(0.5)));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(m_engine.playState(), RealPlayer::Stopped); // no automatic start
    EXPECT_TRUE(m_log.states.isEmpty());
    ASSERT_TRUE(playUntilPlaying(m_engine.source()));
    reset();
    m_engine.setMute(true);
    EXPECT_TRUE(m_engine.isMute());
    EXPECT_EQ(m_engine.controls(), QStringLiteral("ImageWindow"));
    ASSERT_TRUE(waitStopped());
    EXPECT_TRUE(m_log.errors.isEmpty());

    // Switched on, a source starts by itself; shuffled entries each play once.
    const QString ram = path(QStringLiteral("shuffle.ram"));
    writeFile(ram,
              fileUrl(toneWav(0.5)).toUtf8() + "\n" + fileUrl(realAudioClip()).toUtf8() + "\n");
    m_log.clear();
    m_engine.setShuffle(true);
    m_engine.setAutoStart(true);
    m_engine.setSource(ram);
    EXPECT_EQ(m_engine.playState(), RealPlayer::Contacting);
    ASSERT_TRUE(waitUntil([this] { return m_log.openedUrls.size() == 2; }));
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(QSet<QString>(m_log.openedUrls.begin(), m_log.openedUrls.end()).size(), 2);
}

// A playlist with one bad entry among good ones plays the good ones and
// reports the bad one as recoverable (severity 6).
TEST_F(MpvRealPlayerTest, BadEntryAmongGoodOnesIsPassedOver)
{
    const QString ram = path(QStringLiteral("mixed.rpm"));
    writeFile(ram, "missing.rm\nmixed.rpm\n" + fileUrl(toneWav(0.5)).toUtf8() + "\n");
    m_engine.setSource(ram);
    EXPECT_EQ(m_engine.numEntries(), 2); // the self-reference is dropped
    m_engine.play();
    ASSERT_TRUE(waitUntil([this] { return m_log.openedUrls.size() == 1; }));
    ASSERT_TRUE(waitStopped());
    ASSERT_EQ(m_log.errors.size(), 2);
    for (const EngineLog::Error &error : std::as_const(m_log.errors)) {
        EXPECT_EQ(error.severity, RealPlayer::Informational);
    }
    EXPECT_EQ(m_log.errors[0].userCode, RealPlayer::SelfReference);
    EXPECT_EQ(m_log.errors[1].userCode, RealPlayer::EntrySkipped);
}

} // namespace
