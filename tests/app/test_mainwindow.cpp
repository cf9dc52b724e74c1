// The player as a user meets it: started with two files under a private X
// server and session bus, it adds them, plays the first with its picture on
// the screen, and answers the desktop's media controls.
#include "tests/app/appprocess.h"
#include "tests/support/media.h"
#include "tests/support/processes.h"
#include "tests/support/sessionbus.h"
#include "tests/support/xvfb.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDeadlineTimer>
#include <QImage>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.orvane");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_x.start(1024, 768)) << m_x.error().toStdString();
        ASSERT_TRUE(m_bus.start());
        m_address = m_bus.address();
        ASSERT_TRUE(m_folder.isValid());
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("test")); }

    std::unique_ptr<AppProcess> startPlayer(const QStringList &files)
    {
        QProcessEnvironment env = m_folder.environment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        env.insert(QStringLiteral("ORVANE_GST_AUDIO_SINK"), QStringLiteral("fakesink sync=true"));
        env.insert(QStringLiteral("ORVANE_MPV_AO"), QStringLiteral("null"));
        return std::make_unique<AppProcess>(env, m_folder.executable(), files, m_x.display());
    }

    QVariant property(const QString &name)
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(
            kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        msg << kPlayer << name;
        const QDBusMessage reply = bus().call(msg, QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().constFirst().value<QDBusVariant>().variant();
    }
    void command(const QString &method)
    {
        bus().call(QDBusMessage::createMethodCall(kService, kPath, kPlayer, method), QDBus::Block,
                   5000);
    }
    QString title()
    {
        QVariantMap map;
        property(QStringLiteral("Metadata")).value<QDBusArgument>() >> map;
        return map.value(QStringLiteral("xesam:title")).toString();
    }
    bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(100);
        }
        return true;
    }
    QDBusConnection bus()
    {
        return QDBusConnection::connectToBus(m_address, QStringLiteral("test"));
    }

    Xvfb m_x;
    PrivateSessionBus m_bus;
    QString m_address;
    ProgramFolder m_folder;
};

// Distinct colours in the top-left part of the screen, where the picture is.
int coloursInPicture(const QString &png)
{
    const QImage shot(png);
    QSet<QRgb> colours;
    for (int y = 0; y < 240 && y < shot.height(); y += 3)
        for (int x = 0; x < 360 && x < shot.width(); x += 3)
            colours.insert(shot.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST_F(MainWindow, PlaysWhatItWasStartedWithAndAnswersMediaKeys)
{
    const QString video = generatedMedia(
        QStringLiteral("bars-20s.avi"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("testsrc=size=320x240:rate=25:duration=20"), QStringLiteral("-f"),
         QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=duration=20"),
         QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-c:a"),
         QStringLiteral("mp3"), QStringLiteral("-shortest")});
    const QString audio = toneMp3(20);
    ASSERT_FALSE(video.isEmpty() || audio.isEmpty());

    auto player = startPlayer({video, audio});
    ASSERT_TRUE(waitFor([&] {
        return property(QStringLiteral("PlaybackStatus")).toString() == QStringLiteral("Playing");
    })) << player->log().toStdString();
    const qlonglong first = property(QStringLiteral("Position")).toLongLong();
    EXPECT_TRUE(waitFor(
        [&] { return property(QStringLiteral("Position")).toLongLong() > first + 500000; }, 10000))
        << "the position runs";

    const QString shot = m_folder.path() + QStringLiteral("/playing.png");
    ASSERT_TRUE(m_x.screenshot(shot));
    EXPECT_GT(coloursInPicture(shot), 6) << "the video is on the screen: " << shot.toStdString();

    command(QStringLiteral("Next"));
    EXPECT_TRUE(waitFor([&] { return title() == QStringLiteral("Tone Title"); }, 15000));
    command(QStringLiteral("PlayPause"));
    EXPECT_TRUE(waitFor(
        [&] {
            return property(QStringLiteral("PlaybackStatus")).toString() ==
                   QStringLiteral("Paused");
        },
        10000));
}
