// The engine's picture shows in a real window on a private X server.
#include "tests/playback/mpv/mpvtesthelpers.h"
#include "tests/support/xvfb.h"

#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

class MpvVideo : public ::testing::TestWithParam<const char *>
{
};

TEST_P(MpvVideo, PictureShowsInTheEnginesWindow)
{
    const QString clip = realVideoClip();
    ASSERT_FALSE(clip.isEmpty());
    Xvfb xvfb;
    ASSERT_TRUE(xvfb.start(640, 480)) << xvfb.error().toStdString();

    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), xvfb.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    helper.setProcessEnvironment(env);
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(QStringLiteral(ORVANE_MPV_VIDEO_HELPER), {clip, QString::fromLatin1(GetParam())});
    ASSERT_TRUE(helper.waitForStarted(10000));
    bool playing = false;
    QByteArray said;
    for (int i = 0; i < 40 && !playing && helper.state() == QProcess::Running; ++i) {
        helper.waitForReadyRead(500);
        said += helper.readAllStandardOutput();
        playing = said.contains("PLAYING");
    }
    ASSERT_TRUE(playing) << said.toStdString();

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("screen.png"));
    ASSERT_TRUE(xvfb.screenshot(png));
    helper.kill();
    helper.waitForFinished(5000);

    const QImage screen(png);
    ASSERT_FALSE(screen.isNull());
    // The test picture has colour bars: many colours, far from black, all
    // inside the engine's window at (0, 0, 320, 224).
    QSet<QRgb> colours;
    qint64 brightness = 0;
    for (int y = 0; y < 224; y += 4) {
        for (int x = 0; x < 320; x += 4) {
            const QRgb pixel = screen.pixel(x, y);
            colours.insert(pixel & 0xf0f0f0);
            brightness += qGray(pixel);
        }
    }
    const qint64 samples = (224 / 4) * (320 / 4);
    EXPECT_GT(colours.size(), 8);
    EXPECT_GT(brightness / samples, 40);
    // Outside the window the screen stays as it was.
    EXPECT_EQ(screen.pixel(600, 400), screen.pixel(630, 470));
}

INSTANTIATE_TEST_SUITE_P(Outputs, MpvVideo, ::testing::Values("x11", "gpu,x11"));

} // namespace
