// The player as a user meets it: started with two files under a private X
// server and session bus, it adds them, plays the first with its picture on
// the screen, and answers the desktop's media controls.
#include "playlist/ovlformat.h"
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
#include <QFile>
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
    int trackCount()
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(
            kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        msg << QStringLiteral("org.mpris.MediaPlayer2.TrackList") << QStringLiteral("Tracks");
        const QDBusMessage reply = bus().call(msg, QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return -1;
        QList<QDBusObjectPath> tracks;
        reply.arguments().constFirst().value<QDBusVariant>().variant().value<QDBusArgument>() >>
            tracks;
        return int(tracks.size());
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
    QThread::msleep(1200);
    EXPECT_GT(property(QStringLiteral("Position")).toLongLong(), first + 500000)
        << "the position runs with the clock";

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

TEST_F(MainWindow, ClearsAndReopensAPlayListWithItsKeysAndTheOpenDialog)
{
    const QString audio = toneMp3(20);
    ASSERT_FALSE(audio.isEmpty());
    const QString list = m_folder.path() + QStringLiteral("/kept.ovl");
    QString text = orvane::playlist::ovl::kHeader + orvane::playlist::ovl::kWrittenVersion +
                   orvane::playlist::ovl::kLineEnd;
    for (int i = 0; i < 2; ++i) {
        orvane::playlist::PlayListItem item;
        item.FILENAME = QStringLiteral("file://") + audio;
        item.TITLE = QStringLiteral("Kept %1").arg(i);
        item.DOPLAY = i == 0 ? orvane::playlist::kTrue : orvane::playlist::kFalse;
        text += orvane::playlist::ovl::formatItemLine(item) + orvane::playlist::ovl::kLineEnd;
    }
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();

    auto player = startPlayer({audio});
    ASSERT_TRUE(waitFor([&] { return trackCount() == 1; })) << player->log().toStdString();
    const QString display = m_x.display();
    const QString window = xdotool(display, {QStringLiteral("search"), QStringLiteral("--sync"),
                                             QStringLiteral("--name"), QStringLiteral("^Orvane$")})
                               .section(QLatin1Char('\n'), 0, 0);
    ASSERT_FALSE(window.isEmpty());
    xdotool(display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});

    xdotool(display, {QStringLiteral("key"), QStringLiteral("ctrl+Delete")});
    ASSERT_TRUE(waitFor([&] { return trackCount() == 0; }, 10000)) << "Ctrl+Del clears";

    xdotool(display, {QStringLiteral("key"), QStringLiteral("ctrl+o")});
    const QString dialog =
        xdotool(display, {QStringLiteral("search"), QStringLiteral("--sync"),
                          QStringLiteral("--name"), QStringLiteral("^Open Media$")})
            .section(QLatin1Char('\n'), 0, 0);
    ASSERT_FALSE(dialog.isEmpty()) << "Ctrl+O shows the open dialog";
    xdotool(display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
    xdotool(display,
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("2"), list});
    xdotool(display, {QStringLiteral("key"), QStringLiteral("Return")});
    EXPECT_TRUE(waitFor([&] { return trackCount() == 2; }, 15000))
        << "the playlist typed into the path box comes back";
}
