// The desktop's view of the player over a private session bus: a client
// sees the track list and metadata, its commands reach the player, and it
// hears about changes.
#include "tests/support/sessionbus.h"
#include "ui/main/mprisadaptors.h"
#include "ui/main/mprisservice.h"
#include "ui/main/mprisvalues.h"

#include <QSet>

#include <cmath>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

using namespace orvane::ui;

namespace {

class FakePlayer : public MprisPlayer
{
public:
    QList<Track> tracks() const override { return m_tracks; }
    QString currentKey() const override { return m_current; }
    QString playbackStatus() const override { return m_status; }
    qint64 positionUs() const override { return m_position; }
    bool canSeek() const override { return true; }
    double volume() const override { return m_volume; }
    void setVolume(double volume) override { m_volume = volume; }
    bool repeatAll() const override { return m_repeatAll; }
    void setRepeatAll(bool on) override { m_repeatAll = on; }
    void playPause() override { calls << QStringLiteral("playPause"); }
    void play() override { calls << QStringLiteral("play"); }
    void pause() override { calls << QStringLiteral("pause"); }
    void stop() override { calls << QStringLiteral("stop"); }
    void next() override { calls << QStringLiteral("next"); }
    void previous() override { calls << QStringLiteral("previous"); }
    void goTo(const QString &key) override { calls << QStringLiteral("goTo ") + key; }
    void setPositionUs(qint64 position) override { m_position = position; }
    void raise() override { calls << QStringLiteral("raise"); }
    void quit() override { calls << QStringLiteral("quit"); }

    QList<Track> m_tracks{
        {QStringLiteral("num0"), QStringLiteral("First"), QStringLiteral("Ann"),
         QStringLiteral("Evenings"), QStringLiteral("file:///m/a b#1.mp3"), 83250000},
        {QStringLiteral("num4"), QStringLiteral("Second"), QString(), QString(),
         QStringLiteral("file:///m/b.ogg"), -1},
    };
    double m_volume = 0.3;
    bool m_repeatAll = false;
    QString m_current = QStringLiteral("num4");
    QString m_status = QStringLiteral("Paused");
    qint64 m_position = 1000000;
    QStringList calls;
};

class SignalLog : public QObject
{
    Q_OBJECT
public:
    QList<QDBusMessage> messages;
    bool waitFor(qsizetype count)
    {
        QDeadlineTimer deadline(5000);
        while (messages.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return messages.size() >= count;
    }

public Q_SLOTS:
    void received(const QDBusMessage &msg) { messages.append(msg); }
};

class Mpris : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_bus = new orvane::test::PrivateSessionBus;
        ASSERT_TRUE(s_bus->start());
        s_address = s_bus->address();
    }
    static void TearDownTestSuite() { delete s_bus; }
    void SetUp() override
    {
        m_service = std::make_unique<MprisService>(
            m_player, QDBusConnection::connectToBus(s_address, QStringLiteral("service")));
        ASSERT_TRUE(m_service->isRegistered());
    }
    void TearDown() override
    {
        m_service.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    QDBusConnection client()
    {
        return QDBusConnection::connectToBus(s_address, QStringLiteral("client"));
    }

    // A call as a desktop applet makes it; the event loop keeps running so
    // the service in this same thread can answer.
    QDBusMessage call(const QString &interface, const QString &method,
                      const QVariantList &args = {})
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(
            MprisService::kServiceName, MprisService::kObjectPath, interface, method);
        msg.setArguments(args);
        return client().call(msg, QDBus::BlockWithGui, 5000);
    }
    void setProperty(const QString &interface, const QString &name, const QVariant &value)
    {
        call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
             {interface, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariant property(const QString &interface, const QString &name)
    {
        const QDBusMessage reply = call(QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().constFirst().value<QDBusVariant>().variant();
    }

    static orvane::test::PrivateSessionBus *s_bus;
    static QString s_address;
    FakePlayer m_player;
    std::unique_ptr<MprisService> m_service;
};

orvane::test::PrivateSessionBus *Mpris::s_bus = nullptr;
QString Mpris::s_address;

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackList = QStringLiteral("org.mpris.MediaPlayer2.TrackList");

QVariantMap toMap(const QVariant &v)
{
    if (v.canConvert<QDBusArgument>()) {
        QVariantMap map;
        v.value<QDBusArgument>() >> map;
        return map;
    }
    return v.toMap();
}

} // namespace

TEST_F(Mpris, ClientSeesTheTrackListAndCurrentMetadata)
{
    const QVariant tracks = property(kTrackList, QStringLiteral("Tracks"));
    QList<QDBusObjectPath> ids;
    tracks.value<QDBusArgument>() >> ids;
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids[0].path(), QStringLiteral("/org/mpris/MediaPlayer2/orvane/track/0"));
    EXPECT_EQ(ids[1].path(), QStringLiteral("/org/mpris/MediaPlayer2/orvane/track/4"));

    const QVariantMap current = toMap(property(kPlayer, QStringLiteral("Metadata")));
    EXPECT_EQ(current.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Second"));
    EXPECT_FALSE(current.contains(QStringLiteral("mpris:length"))) << "unknown length is left out";
    EXPECT_EQ(property(kPlayer, QStringLiteral("PlaybackStatus")).toString(),
              QStringLiteral("Paused"));

    const QDBusMessage reply = call(kTrackList, QStringLiteral("GetTracksMetadata"),
                                    {QVariant::fromValue(QList<QDBusObjectPath>{ids[0]})});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    QList<QVariantMap> list;
    reply.arguments().constFirst().value<QDBusArgument>() >> list;
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].value(QStringLiteral("xesam:title")).toString(), QStringLiteral("First"));
    EXPECT_EQ(list[0].value(QStringLiteral("mpris:length")).toLongLong(), 83250000);
    EXPECT_EQ(list[0].value(QStringLiteral("xesam:url")).toString(),
              QStringLiteral("file:///m/a%20b%231.mp3"))
        << "a client opens the url, so it is encoded";
    EXPECT_EQ(list[0].value(QStringLiteral("xesam:album")).toString(), QStringLiteral("Evenings"));
    EXPECT_FALSE(current.contains(QStringLiteral("xesam:album"))) << "no album, no entry";
}

TEST_F(Mpris, CommandsReachThePlayer)
{
    call(kPlayer, QStringLiteral("Next"));
    call(kPlayer, QStringLiteral("PlayPause"));
    call(kPlayer, QStringLiteral("Stop"));
    call(kTrackList, QStringLiteral("GoTo"),
         {QVariant::fromValue(
             QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/orvane/track/0")))});
    call(kTrackList, QStringLiteral("GoTo"),
         {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/some/other/track")))});
    EXPECT_EQ(m_player.calls, QStringList({QStringLiteral("next"), QStringLiteral("playPause"),
                                           QStringLiteral("stop"), QStringLiteral("goTo num0")}));

    // A seek for a track that is no longer current is ignored.
    call(kPlayer, QStringLiteral("SetPosition"),
         {QVariant::fromValue(
              QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/orvane/track/0"))),
          qlonglong(5000000)});
    EXPECT_EQ(m_player.m_position, 1000000);
    call(kPlayer, QStringLiteral("SetPosition"),
         {QVariant::fromValue(
              QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/orvane/track/4"))),
          qlonglong(5000000)});
    EXPECT_EQ(m_player.m_position, 5000000);
}

TEST_F(Mpris, ChangesAreAnnounced)
{
    SignalLog log;
    QDBusConnection bus = client();
    ASSERT_TRUE(bus.connect(
        QString(), MprisService::kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), &log, SLOT(received(QDBusMessage))));
    ASSERT_TRUE(bus.connect(QString(), MprisService::kObjectPath, kTrackList,
                            QStringLiteral("TrackListReplaced"), &log,
                            SLOT(received(QDBusMessage))));
    property(kPlayer, QStringLiteral("PlaybackStatus")); // the match rules are in place

    m_service->refresh();
    m_player.m_status = QStringLiteral("Playing");
    m_player.m_current = QStringLiteral("num0");
    m_service->refresh();
    ASSERT_TRUE(log.waitFor(1));
    const QDBusMessage changed = log.messages.constFirst();
    EXPECT_EQ(changed.member(), QStringLiteral("PropertiesChanged"));
    EXPECT_EQ(changed.arguments().value(0).toString(), kPlayer);
    const QVariantMap props = toMap(changed.arguments().value(1));
    EXPECT_EQ(props.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
    EXPECT_EQ(toMap(props.value(QStringLiteral("Metadata")))
                  .value(QStringLiteral("xesam:title"))
                  .toString(),
              QStringLiteral("First"));

    m_player.m_tracks.removeLast();
    m_service->refresh();
    ASSERT_TRUE(log.waitFor(3)); // CanGoNext changed, then the list was replaced
    EXPECT_EQ(log.messages.last().member(), QStringLiteral("TrackListReplaced"));
}

TEST_F(Mpris, VolumeAndLoopStatusAreThePlayersAndShuffleStaysOff)
{
    EXPECT_DOUBLE_EQ(property(kPlayer, QStringLiteral("Volume")).toDouble(), 0.3);
    const struct {
        double sent;
        double taken;
    } volumes[] = {{0.55, 0.55}, {1.7, 1.0}, {-0.2, 0.0}, {std::nan(""), 0.0}, {0.0004, 0.0}};
    for (const auto &v : volumes) {
        setProperty(kPlayer, QStringLiteral("Volume"), v.sent);
        EXPECT_DOUBLE_EQ(m_player.m_volume, v.taken) << v.sent;
    }

    EXPECT_EQ(property(kPlayer, QStringLiteral("LoopStatus")).toString(), QStringLiteral("None"));
    setProperty(kPlayer, QStringLiteral("LoopStatus"), QStringLiteral("Playlist"));
    EXPECT_TRUE(m_player.m_repeatAll);
    EXPECT_EQ(property(kPlayer, QStringLiteral("LoopStatus")).toString(),
              QStringLiteral("Playlist"));
    for (const QString &unknown : {QStringLiteral("Track"), QStringLiteral("none"), QString()}) {
        setProperty(kPlayer, QStringLiteral("LoopStatus"), unknown);
        EXPECT_TRUE(m_player.m_repeatAll) << "ignored: " << unknown.toStdString();
    }
    setProperty(kPlayer, QStringLiteral("LoopStatus"), QStringLiteral("None"));
    EXPECT_FALSE(m_player.m_repeatAll);

    setProperty(kPlayer, QStringLiteral("Shuffle"), true);
    EXPECT_FALSE(property(kPlayer, QStringLiteral("Shuffle")).toBool());
}

TEST_F(Mpris, SupportedMimeTypesComeFromBothEnginesLists)
{
    const QStringList types =
        property(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("SupportedMimeTypes"))
            .toStringList();
    for (const char *type : {"audio/mpeg", "video/x-msvideo", "audio/flac",
                             "application/vnd.rn-realmedia", "application/smil+xml"})
        EXPECT_TRUE(types.contains(QString::fromLatin1(type))) << type;
    EXPECT_EQ(types.size(), QSet<QString>(types.begin(), types.end()).size()) << "no repeats";
}

TEST(MprisValues, UrlsAreEncodedOnlyWhereTheyAreUrls)
{
    const struct {
        const char *location, *url;
    } cases[] = {
        {"file:///m/a b#1.mp3", "file:///m/a%20b%231.mp3"},
        {"file:///m/\xc3\xa9t\xc3\xa9.mp3", "file:///m/%C3%A9t%C3%A9.mp3"},
        {"/m/100%.mp3", "file:///m/100%25.mp3"},
        {"http://example.org/a b.mp3", "http://example.org/a%20b.mp3"},
        {"AudioCD://D:/3/", "AudioCD://D:/3/"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(encodedUrl(QString::fromUtf8(c.location)), QString::fromUtf8(c.url))
            << c.location;
}

TEST(MprisValues, MimeTypesOfAnExtensionList)
{
    const QStringList types = mimeTypesOfFileTypes(QStringLiteral(".mp3;;.MP3; .wav ;x;.;.mp3"));
    EXPECT_TRUE(types.contains(QStringLiteral("audio/mpeg")));
    EXPECT_TRUE(types.contains(QStringLiteral("audio/x-wav")) ||
                types.contains(QStringLiteral("audio/vnd.wave")));
    EXPECT_EQ(types.count(QStringLiteral("audio/mpeg")), 1);
    EXPECT_TRUE(mimeTypesOfFileTypes(QString()).isEmpty());
    // A hand-edited list with control characters once crashed Qt's globbing.
    EXPECT_EQ(mimeTypesOfFileTypes(QString::fromUtf8(".\0\0\0\0.o;.mp3", 12)),
              QStringList(QStringLiteral("audio/mpeg")));
}

#include "test_mpris.moc"
