// The one gate for locations from outside: what it lets through is what an
// engine may open, so every refusal here keeps a device, a descriptor or a
// socket away from the engines.
#include "core/location.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::core;
using Kind = Location::Kind;

namespace {

struct Case {
    const char *location;
    Kind kind;
    const char *scheme;
    const char *target; // for refused ones: a word of the reason
};

void check(const Case &c)
{
    const Location result = classifyLocation(QString::fromUtf8(c.location));
    SCOPED_TRACE(c.location);
    EXPECT_EQ(int(result.kind), int(c.kind));
    EXPECT_EQ(result.scheme, QString::fromUtf8(c.scheme));
    if (c.kind == Kind::Refused) {
        EXPECT_TRUE(result.target.isEmpty());
        EXPECT_TRUE(result.reason.contains(QString::fromUtf8(c.target)))
            << result.reason.toStdString();
    } else {
        EXPECT_EQ(result.target, QString::fromUtf8(c.target));
        EXPECT_TRUE(result.reason.isEmpty());
    }
}

} // namespace

TEST(ClassifyLocation, AcceptsFilesStreamsAndDiscs)
{
    const Case cases[] = {
        {"/music/a.mp3", Kind::LocalFile, "file", "/music/a.mp3"},
        {"file:///music/a.mp3", Kind::LocalFile, "file", "/music/a.mp3"},
        {"file:///music/My%20Song.mp3", Kind::LocalFile, "file", "/music/My Song.mp3"},
        {"/music/albums/", Kind::LocalFile, "file", "/music/albums"},
        {"http://host/a.mp3", Kind::Stream, "http", "http://host/a.mp3"},
        {"https://host/live?x=1", Kind::Stream, "https", "https://host/live?x=1"},
        {"mms://host/a.asf", Kind::Stream, "mms", "mms://host/a.asf"},
        {"mmsh://host/a.asf", Kind::Stream, "mmsh", "mmsh://host/a.asf"},
        {"rtsp://host:554/a.rm", Kind::Stream, "rtsp", "rtsp://host:554/a.rm"},
        {"rtmp://host/app/s", Kind::Stream, "rtmp", "rtmp://host/app/s"},
        {"AudioCD://D:/3/", Kind::Disc, "audiocd", "AudioCD://D:/3/"},
        {"AudioCD://D:/", Kind::Disc, "audiocd", "AudioCD://D:/"},
        {"AudioCD://E:", Kind::Disc, "audiocd", "AudioCD://E:"},
        {"VideoCD://D:/12/", Kind::Disc, "videocd", "VideoCD://D:/12/"},
    };
    for (const Case &c : cases)
        check(c);
}

TEST(ClassifyLocation, RefusesDevicesDescriptorsSocketsAndUnknownSchemes)
{
    const Case cases[] = {
        {"v4l2:///dev/video0", Kind::Refused, "v4l2", "v4l2"},
        {"fd://0", Kind::Refused, "fd", "fd"},
        {"udp://@239.0.0.1:1234/live.mpg", Kind::Refused, "udp", "udp"},
        {"ftp://host/a.mp3", Kind::Refused, "ftp", "ftp"},
        {"alsa://hw:0", Kind::Refused, "alsa", "alsa"},
        {"dvb://1", Kind::Refused, "dvb", "dvb"},
        {"file:///dev/video0", Kind::Refused, "file", "device"},
        {"file:///dev", Kind::Refused, "file", "device"},
        {"/dev/sr0", Kind::Refused, "file", "device"},
        {"/proc/self/environ", Kind::Refused, "file", "device"},
        {"file:///sys/class/x", Kind::Refused, "file", "device"},
        {"/music/../dev/video0", Kind::Refused, "file", "device"},
        {"file:////dev/video0", Kind::Refused, "file", "device"},
        {"file:///%64ev/video0", Kind::Refused, "file", "device"},
        {"file://otherhost/music/a.mp3", Kind::Refused, "file", "absolute"},
        {"http://", Kind::Refused, "http", "host"},
        {"http:///a.mp3", Kind::Refused, "http", "host"},
        {"AudioCD://../../etc/", Kind::Refused, "audiocd", "drive"},
        {"VideoCD://D:/x/", Kind::Refused, "videocd", "drive"},
        {"/music/a\n.mp3", Kind::Refused, "file", "control"},
        {"http://host/a\r\nX: y", Kind::Refused, "http", "control"},
        {"", Kind::Refused, "", "empty"},
    };
    for (const Case &c : cases)
        check(c);
}

TEST(ClassifyLocation, EdgeForms)
{
    const Case cases[] = {
        // Names that only mean something relative to a folder nobody gave.
        {"music/a.mp3", Kind::Refused, "file", "absolute"},
        {"a.mp3", Kind::Refused, "file", "absolute"},
        {"~", Kind::Refused, "file", "absolute"},
        {"~/music/a.mp3", Kind::Refused, "file", "absolute"},
        {"C:/Music/a.mp3", Kind::Refused, "file", "absolute"},
        {"file://C:/Music/a.mp3", Kind::Refused, "file", "absolute"},
        {"v4l2:/dev/video0", Kind::Refused, "file", "absolute"},
        // Schemes compare without regard to case; the URL gets the usual form.
        {"HTTP://Host/A.mp3", Kind::Stream, "http", "http://Host/A.mp3"},
        {"FILE:///music/a.mp3", Kind::LocalFile, "file", "/music/a.mp3"},
        {"V4L2:///dev/video0", Kind::Refused, "v4l2", "v4l2"},
        {"audiocd://d:/1/", Kind::Disc, "audiocd", "audiocd://d:/1/"},
        {"file://localhost/x", Kind::LocalFile, "file", "/x"},
        {"file://LOCALHOST/music/a.mp3", Kind::LocalFile, "file", "/music/a.mp3"},
        {"//music/a.mp3", Kind::LocalFile, "file", "/music/a.mp3"},
        {"/music/./sub/../a.mp3", Kind::LocalFile, "file", "/music/a.mp3"},
        {"/devices/a.mp3", Kind::LocalFile, "file", "/devices/a.mp3"},
        {"/music/dev/a.mp3", Kind::LocalFile, "file", "/music/dev/a.mp3"},
    };
    for (const Case &c : cases)
        check(c);
    // A name without its folder is a file nobody can find, not a forbidden one.
    EXPECT_TRUE(classifyLocation(QStringLiteral("a.mp3")).relativePath);
    EXPECT_TRUE(classifyLocation(QStringLiteral("file://C:/Music/a.mp3")).relativePath);
    EXPECT_FALSE(classifyLocation(QStringLiteral("/dev/sr0")).relativePath);
    EXPECT_FALSE(classifyLocation(QStringLiteral("fd://0")).relativePath);
}

// A "%" in a name of our own stays; in a name that does not exist as
// written it is an escape of a URL another program wrote.
TEST(ClassifyLocation, PercentIsAnEscapeOnlyWhenNoFileHasTheNameAsWritten)
{
    QTemporaryDir dir;
    const QString literal = dir.filePath(QStringLiteral("100%25.mp3"));
    QFile file(literal);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(localFileOf(QStringLiteral("file://") + literal), literal);
    EXPECT_EQ(localFileOf(QStringLiteral("file://") + dir.filePath(QStringLiteral("a%25b.mp3"))),
              dir.filePath(QStringLiteral("a%b.mp3")));
    // Nothing below exists: the text alone decides.
    EXPECT_EQ(localFileOf(QString::fromUtf8("file:///m/a%20b%23c.mp3")),
              QStringLiteral("/m/a b#c.mp3"));
    EXPECT_EQ(localFileOf(QString::fromUtf8("file://localhost/m/%E6%97%A5.mp3")),
              QString::fromUtf8("/m/日.mp3"));
    // A "%" that starts no escape is a letter of the name.
    EXPECT_EQ(localFileOf(QString::fromUtf8("file:///m/100% ñ #1.mp3")),
              QString::fromUtf8("/m/100% ñ #1.mp3"));
    EXPECT_EQ(localFileOf(QStringLiteral("file:///m/50%off.mp3")), QStringLiteral("/m/50%off.mp3"));
    EXPECT_EQ(localFileOf(QStringLiteral("/m/100%.mp3")), QStringLiteral("/m/100%.mp3"));
    EXPECT_TRUE(localFileOf(QStringLiteral("http://host/a.mp3")).isEmpty());
    EXPECT_TRUE(localFileOf(QStringLiteral("AudioCD://D:/1/")).isEmpty());
}

TEST(LocationScheme, NamesTheSchemeOfUrlsOnly)
{
    EXPECT_EQ(locationScheme(QStringLiteral("RTSP://h/a")), u"rtsp");
    EXPECT_EQ(locationScheme(QStringLiteral("orvane-rm://x")), u"orvane-rm");
    EXPECT_TRUE(locationScheme(QStringLiteral("C:/x")).isEmpty());
    EXPECT_TRUE(locationScheme(QStringLiteral("/x://y")).isEmpty());
    EXPECT_TRUE(locationScheme(QStringLiteral("1x://y")).isEmpty());
}
