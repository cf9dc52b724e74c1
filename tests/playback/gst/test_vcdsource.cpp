// Video CD tracks played by URI through playbin, from images vcdimager
// makes at test time.
#include "playback/gst/vcdsource.h"

#include "tests/support/discimages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gst/gst.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace orvane::playback::gst;
using orvane::test::audioDiscImage;
using orvane::test::videoCdImage;

namespace {

// Far above what a few seconds of MPEG take without clock sync; a hang
// fails here instead of at the test's timeout.
constexpr GstClockTime kBound = 20 * GST_SECOND;

struct Outcome {
    GstMessageType type = GST_MESSAGE_UNKNOWN; // GST_MESSAGE_UNKNOWN: nothing in time
    std::string error;                         // its text, for an error
    std::string errorSource;                   // type of the element that posted it
};

class Playbin
{
public:
    explicit Playbin(const QString &uri)
        : m_playbin(GST_ELEMENT(gst_object_ref_sink(gst_element_factory_make("playbin", nullptr))))
    {
        GstElement *audio = gst_element_factory_make("fakesink", nullptr);
        GstElement *video = gst_element_factory_make("fakesink", nullptr);
        g_object_set(audio, "sync", FALSE, nullptr);
        g_object_set(video, "sync", FALSE, nullptr);
        g_object_set(m_playbin, "uri", uri.toUtf8().constData(), "audio-sink", audio, "video-sink",
                     video, nullptr);
    }
    ~Playbin()
    {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        gst_object_unref(m_playbin);
    }
    Playbin(const Playbin &) = delete;
    Playbin &operator=(const Playbin &) = delete;

    Outcome changeTo(GstState state, GstMessageType until)
    {
        gst_element_set_state(m_playbin, state);
        return waitFor(until);
    }

    Outcome waitFor(GstMessageType until)
    {
        GstBus *bus = gst_element_get_bus(m_playbin);
        GstMessage *message =
            gst_bus_timed_pop_filtered(bus, kBound, GstMessageType(until | GST_MESSAGE_ERROR));
        gst_object_unref(bus);
        Outcome outcome;
        if (!message)
            return outcome;
        outcome.type = GST_MESSAGE_TYPE(message);
        if (outcome.type == GST_MESSAGE_ERROR) {
            GError *error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            outcome.error = error->message;
            g_error_free(error);
            outcome.errorSource = G_OBJECT_TYPE_NAME(GST_MESSAGE_SRC(message));
        }
        gst_message_unref(message);
        return outcome;
    }

    bool seek(double seconds)
    {
        return gst_element_seek_simple(m_playbin, GST_FORMAT_TIME,
                                       GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                       gint64(seconds * GST_SECOND));
    }

    double seconds(bool duration) const
    {
        gint64 value = -1;
        const gboolean ok = duration
                                ? gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &value)
                                : gst_element_query_position(m_playbin, GST_FORMAT_TIME, &value);
        return ok ? double(value) / GST_SECOND : -1.0;
    }

private:
    GstElement *m_playbin;
};

class VideoCdSourceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        gst_init(nullptr, nullptr);
        registerVideoCdSource();
    }

    static QString disc()
    {
        const QString cue = videoCdImage(QStringLiteral("vcd-two-clips"), {3, 2});
        EXPECT_FALSE(cue.isEmpty());
        return cue;
    }

    // All a track gives, from the element alone in buffers of `blocksize`
    // bytes (0: its own), and the size it reports.
    static QByteArray trackBytes(const QString &cue, int track, guint blocksize, gint64 *size)
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("track.mpg"));
        GstElement *pipeline = gst_pipeline_new(nullptr);
        GstElement *source = gst_element_factory_make(kVideoCdSourceFactory, nullptr);
        GstElement *sink = gst_element_factory_make("filesink", nullptr);
        g_object_set(source, "device", QFile::encodeName(cue).constData(), "track", track, nullptr);
        if (blocksize > 0)
            g_object_set(source, "blocksize", blocksize, nullptr);
        g_object_set(sink, "location", QFile::encodeName(out).constData(), nullptr);
        gst_bin_add_many(GST_BIN(pipeline), source, sink, nullptr);
        EXPECT_TRUE(gst_element_link(source, sink));
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        GstBus *bus = gst_element_get_bus(pipeline);
        GstMessage *end = gst_bus_timed_pop_filtered(
            bus, kBound, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        EXPECT_TRUE(end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS);
        EXPECT_TRUE(gst_element_query_duration(source, GST_FORMAT_BYTES, size));
        if (end)
            gst_message_unref(end);
        gst_object_unref(bus);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static Outcome errorOf(const QString &source, int track)
    {
        Playbin playbin(videoCdUri(source, track));
        return playbin.changeTo(GST_STATE_PAUSED, GST_MESSAGE_ASYNC_DONE);
    }
};

TEST_F(VideoCdSourceTest, PlaysEachMpegTrackToItsEndWithItsLength)
{
    const QString cue = disc();
    ASSERT_FALSE(cue.isEmpty());
    for (const auto &[track, seconds] : {std::pair{2, 3.0}, std::pair{3, 2.0}}) {
        SCOPED_TRACE(track);
        Playbin playbin(videoCdUri(cue, track));
        const Outcome prerolled = playbin.changeTo(GST_STATE_PAUSED, GST_MESSAGE_ASYNC_DONE);
        ASSERT_EQ(prerolled.type, GST_MESSAGE_ASYNC_DONE) << prerolled.error;
        EXPECT_NEAR(playbin.seconds(true), seconds, 0.25);
        const Outcome end = playbin.changeTo(GST_STATE_PLAYING, GST_MESSAGE_EOS);
        EXPECT_EQ(end.type, GST_MESSAGE_EOS) << end.error;
    }
}

TEST_F(VideoCdSourceTest, SeeksInsideATrack)
{
    const QString cue = disc();
    ASSERT_FALSE(cue.isEmpty());
    Playbin playbin(videoCdUri(cue, 2));
    ASSERT_EQ(playbin.changeTo(GST_STATE_PAUSED, GST_MESSAGE_ASYNC_DONE).type,
              GST_MESSAGE_ASYNC_DONE);
    ASSERT_TRUE(playbin.seek(1.0));
    const Outcome sought = playbin.waitFor(GST_MESSAGE_ASYNC_DONE);
    ASSERT_EQ(sought.type, GST_MESSAGE_ASYNC_DONE) << sought.error;
    EXPECT_NEAR(playbin.seconds(false), 1.0, 0.1);
    const Outcome end = playbin.changeTo(GST_STATE_PLAYING, GST_MESSAGE_EOS);
    EXPECT_EQ(end.type, GST_MESSAGE_EOS) << end.error;
}

// The bytes given on must be the clip vcdimager was given: subheaders and
// error detection codes left out, the empty margins' zeros the only thing
// added. Also when reads begin and end inside sectors, as a demuxer's do.
TEST_F(VideoCdSourceTest, HandsOnTheClipsBytesUnchanged)
{
    constexpr qsizetype kPayload = 2324;
    const QString cue = disc();
    ASSERT_FALSE(cue.isEmpty());
    for (const auto &[track, clip, blocksize] :
         {std::tuple{2, "vcdclip-3s.mpg", 0u}, std::tuple{3, "vcdclip-2s.mpg", 1000u}}) {
        SCOPED_TRACE(track);
        gint64 size = -1;
        const QByteArray bytes = trackBytes(cue, track, blocksize, &size);
        EXPECT_EQ(bytes.size(), size);
        EXPECT_EQ(bytes.size() % kPayload, 0);
        QByteArray mpeg;
        const QByteArray empty(kPayload, '\0');
        for (qsizetype at = 0; at < bytes.size(); at += kPayload) {
            const QByteArray sector = bytes.mid(at, kPayload);
            if (sector != empty)
                mpeg += sector;
        }
        QFile original(QStringLiteral(ORVANE_TEST_MEDIA_DIR "/") + QLatin1String(clip));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        EXPECT_TRUE(mpeg == original.readAll()) << "the track's MPEG differs from the clip";
    }
}

// Mode 2 alone is not enough: a Video CD's first track is Mode 2 as well.
TEST_F(VideoCdSourceTest, RefusesTracksWithoutMpegVideo)
{
    const QString vcd = disc();
    const QString audio = audioDiscImage(QStringLiteral("vcd-audio-disc"), {{1, {}, {}, false}});
    ASSERT_FALSE(vcd.isEmpty());
    ASSERT_FALSE(audio.isEmpty());
    const struct {
        QString source;
        int track;
        const char *reason;
    } cases[] = {
        {vcd, 1, "holds data"},
        {vcd, 4, "has no track 4"},
        {audio, 1, "is an audio track"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason);
        const Outcome outcome = errorOf(c.source, c.track);
        ASSERT_EQ(outcome.type, GST_MESSAGE_ERROR);
        EXPECT_EQ(outcome.errorSource, "OrvaneVcdSrc");
        EXPECT_NE(outcome.error.find(c.reason), std::string::npos) << outcome.error;
    }
}

// A folder makes libcdio report an error, which its own handler answers by
// ending the program.
TEST_F(VideoCdSourceTest, FailsInTimeWhenTheSourceIsNotThere)
{
    const QString vcd = disc();
    ASSERT_FALSE(vcd.isEmpty());
    QTemporaryDir dir;
    const QString lonelyCue = dir.filePath(QStringLiteral("nobin.cue"));
    ASSERT_TRUE(QFile::copy(vcd, lonelyCue));
    for (const QString &source :
         {lonelyCue, dir.filePath(QStringLiteral("missing.cue")), dir.path()}) {
        SCOPED_TRACE(source.toStdString());
        const Outcome outcome = errorOf(source, 2);
        ASSERT_EQ(outcome.type, GST_MESSAGE_ERROR);
        EXPECT_EQ(outcome.errorSource, "OrvaneVcdSrc");
        EXPECT_NE(outcome.error.find(QFile::encodeName(source).toStdString()), std::string::npos)
            << outcome.error;
    }
}

TEST(VideoCdUri, RefusesWhatItDoesNotMake)
{
    for (const char *uri :
         {// No track, or not one of 1..99 in plain ASCII digits.
          "orvane-vcd:///tmp/vcd.cue", "orvane-vcd:///tmp/vcd.cue#", "orvane-vcd:///tmp/vcd.cue#0",
          "orvane-vcd:///tmp/vcd.cue#100", "orvane-vcd:///tmp/vcd.cue#-2",
          "orvane-vcd:///tmp/vcd.cue#+2", "orvane-vcd:///tmp/vcd.cue#2 ",
          "orvane-vcd:///tmp/vcd.cue#\u0662",
          // A '#' of the path comes escaped.
          "orvane-vcd:///tmp/vcd.cue#2#3",
          // No absolute path: relative, a host, none at all.
          "", "orvane-vcd://", "orvane-vcd://tmp/vcd.cue#2", "orvane-vcd://host/tmp/vcd.cue#2",
          "orvane-vcd:///#2",
          // Broken escapes, a NUL that would cut the C path, bytes no QString holds.
          "orvane-vcd:///tmp/a%zz.cue#2", "orvane-vcd:///tmp/a%4.cue#2",
          "orvane-vcd:///tmp/a.cue%#2", "orvane-vcd:///tmp/a%00.cue#2",
          "orvane-vcd:///tmp/a%ff.cue#2", "orvane-vcd:///tmp/a\tb.cue#2",
          // Other schemes.
          "file:///tmp/vcd.cue#2", "orvane-vcdx:///tmp/vcd.cue#2",
          " orvane-vcd:///tmp/vcd.cue#2"}) {
        EXPECT_FALSE(parseVideoCdUri(QString::fromUtf8(uri))) << uri;
    }
    EXPECT_TRUE(videoCdUri(QStringLiteral("vcd.cue"), 2).isEmpty());
    EXPECT_TRUE(videoCdUri(QStringLiteral("/tmp/vcd.cue"), 0).isEmpty());
    EXPECT_TRUE(videoCdUri(QStringLiteral("/tmp/vcd.cue"), 100).isEmpty());
}

TEST(VideoCdUri, RoundTripsAnyAbsolutePath)
{
    using Parsed = std::pair<QString, int>;
    EXPECT_EQ(parseVideoCdUri(QStringLiteral("orvane-vcd:///tmp/x/vcd.cue#2")),
              Parsed(QStringLiteral("/tmp/x/vcd.cue"), 2));
    EXPECT_EQ(parseVideoCdUri(QStringLiteral("ORVANE-VCD:///tmp/My%20Disc/vcd.cue#07")),
              Parsed(QStringLiteral("/tmp/My Disc/vcd.cue"), 7));
    for (const QString &path :
         {QStringLiteral("/dev/sr0"), QStringLiteral("/media/Disc #1/100% fun?.cue"),
          QStringLiteral("/tmp/Ünïcödé/диск 光盘.nrg")}) {
        for (int track : {1, 2, 99}) {
            const QString uri = videoCdUri(path, track);
            EXPECT_TRUE(uri.startsWith(QStringLiteral("orvane-vcd:///"))) << uri.toStdString();
            EXPECT_EQ(uri.count(QLatin1Char('#')), 1) << uri.toStdString();
            EXPECT_EQ(parseVideoCdUri(uri), Parsed(path, track)) << uri.toStdString();
        }
    }
}

} // namespace
