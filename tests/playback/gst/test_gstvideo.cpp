#include "tests/playback/gst/engineprobe.h"
#include "tests/support/media.h"
#include "tests/support/xvfb.h"

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

using namespace orvane;
using playback::MediaPlayer;

namespace {

const char kChildVariable[] = "ORVANE_GST_VIDEO_CHILD";

QString videoClip()
{
    return test::generatedMedia(
        QStringLiteral("gst-video-320x240.avi"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("testsrc=size=320x240:rate=25:duration=6"), QStringLiteral("-c:v"),
         QStringLiteral("mpeg4"), QStringLiteral("-q:v"), QStringLiteral("3")});
}

struct Area {
    double nonBlack = 0.0; // share of pixels brighter than near-black
    int colours = 0;       // distinct colours (coarsely quantised)
};

Area measure(const QImage &image, const QRect &rect)
{
    Area out;
    QSet<int> colours;
    int bright = 0;
    int total = 0;
    for (int y = rect.top(); y <= rect.bottom(); y += 2) {
        for (int x = rect.left(); x <= rect.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            ++total;
            if (qRed(p) + qGreen(p) + qBlue(p) > 60)
                ++bright;
            colours.insert((qRed(p) >> 5) << 6 | (qGreen(p) >> 5) << 3 | (qBlue(p) >> 5));
        }
    }
    out.nonBlack = total ? double(bright) / total : 0.0;
    out.colours = int(colours.size());
    return out;
}

bool screenshot(const QString &path)
{
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), path});
    return import.waitForFinished(20000) && import.exitCode() == 0;
}

// The part that runs inside the private X server: the engine's own window
// at 640 x 480 in the screen's corner, the clip at its own size (centred),
// then fitted to the window.
TEST(GstVideoChild, DrawsIntoItsWindow)
{
    const QString out = qEnvironmentVariable(kChildVariable);
    if (out.isEmpty())
        GTEST_SKIP() << "runs inside GstVideo.ShowsInAWindowUnderXvfb";
    playback::gst::GstMediaPlayerOptions options;
    options.audioSink = QStringLiteral("fakesink sync=true");
    playback::gst::GstMediaPlayer engine(options);
    test::EngineProbe probe(engine);
    QWindow *window = engine.videoWindow();
    ASSERT_NE(window, nullptr);
    window->setGeometry(0, 0, 640, 480);
    window->show();
    ASSERT_TRUE(probe.waitFor([&] { return window->isExposed(); }));
    ASSERT_TRUE(probe.open(videoClip())) << engine.errorDescription().toStdString();
    EXPECT_EQ(engine.videoSize(), QSize(320, 240));
    engine.play();
    ASSERT_TRUE(probe.waitForPosition(1.0));
    ASSERT_TRUE(screenshot(out + QStringLiteral("/default.png")));
    engine.setDisplaySize(MediaPlayer::DisplayFitToSize);
    const double fitted = engine.currentPosition();
    ASSERT_TRUE(probe.waitForPosition(fitted + 1.0));
    ASSERT_TRUE(screenshot(out + QStringLiteral("/fit.png")));
    engine.stop();

    // Probed muted, as adding media does, without the real picture output:
    // the size is known all the same, and the picture comes with the play.
    engine.setMuted(true);
    ASSERT_TRUE(probe.open(videoClip())) << engine.errorDescription().toStdString();
    EXPECT_EQ(engine.videoSize(), QSize(320, 240));
    engine.play();
    ASSERT_TRUE(probe.waitForPosition(1.0));
    ASSERT_TRUE(screenshot(out + QStringLiteral("/muted.png")));
    engine.stop();
}

TEST(GstVideo, ShowsInAWindowUnderXvfb)
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP();
    ASSERT_FALSE(videoClip().isEmpty());
    test::Xvfb xvfb;
    ASSERT_TRUE(xvfb.start(800, 600)) << xvfb.error().toStdString();
    QTemporaryDir tmp;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), xvfb.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QString::fromLatin1(kChildVariable), tmp.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=GstVideoChild.*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString log = QString::fromLocal8Bit(child.readAll());
    ASSERT_EQ(child.exitCode(), 0) << log.toStdString();
    ASSERT_TRUE(log.contains(QStringLiteral("[  PASSED  ] 1 test"))) << log.toStdString();

    // At its own size the picture sits in the window's middle, framed in black.
    const QImage natural(tmp.filePath(QStringLiteral("default.png")));
    ASSERT_FALSE(natural.isNull());
    const Area centre = measure(natural, QRect(170, 130, 300, 220));
    EXPECT_GT(centre.nonBlack, 0.6);
    EXPECT_GT(centre.colours, 6);
    EXPECT_LT(measure(natural, QRect(90, 5, 60, 80)).nonBlack, 0.05);

    // Fitted, it covers the whole window, corners included.
    const QImage fit(tmp.filePath(QStringLiteral("fit.png")));
    ASSERT_FALSE(fit.isNull());
    EXPECT_GT(measure(fit, QRect(90, 5, 60, 80)).nonBlack, 0.6);
    EXPECT_GT(measure(fit, QRect(0, 0, 640, 480)).colours, 6);
    // Nothing is drawn outside the engine's window.
    EXPECT_LT(measure(fit, QRect(660, 500, 120, 80)).nonBlack, 0.05);

    const QImage muted(tmp.filePath(QStringLiteral("muted.png")));
    ASSERT_FALSE(muted.isNull());
    EXPECT_GT(measure(muted, QRect(90, 5, 60, 80)).nonBlack, 0.6)
        << "a clip opened muted shows its picture (still fitted) once it plays";
    EXPECT_GT(measure(muted, QRect(0, 0, 640, 480)).colours, 6);
}

} // namespace
