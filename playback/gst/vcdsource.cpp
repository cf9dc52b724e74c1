#include "playback/gst/vcdsource.h"

#include "playback/cd/cdiohandle.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <gst/base/gstbasesrc.h>
#include <gst/gst.h>

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

GST_DEBUG_CATEGORY_STATIC(vcdDebug);

namespace orvane::playback::gst {

namespace {

// A sector as cdio_read_mode2_sectors() gives it for form 2: the subheader
// (file, channel, submode, coding, written twice), 2324 bytes of the MPEG
// program stream, then 4 of error detection that the demuxer must not see.
constexpr gsize kRawSector = M2RAW_SECTOR_SIZE;
constexpr gsize kSubheader = CDIO_CD_SUBHEADER_SIZE;
constexpr gsize kPayload = M2F2_SECTOR_SIZE;
constexpr gsize kSubmodeByte = 2;
constexpr guint8 kSubmodeData = 0x08;
constexpr guint8 kSubmodeForm2 = 0x20;

// Enough for a drive to stream, little enough that a demuxer pulling a few
// kilobytes at a time is served from memory.
constexpr lsn_t kSectorsPerRead = 32;
// A track's MPEG begins after a margin of empty sectors, 30 as vcdimager
// writes them; how far to look for it before calling the track not video.
constexpr lsn_t kProbeSectors = 300;

constexpr int kMaxTrack = 99;

// The last thing libcdio complained about on this thread: it says why an
// open failed (a missing .bin) where cdio_open() only returns null.
thread_local std::string t_lastCdioMessage;
cdio_log_handler_t s_defaultCdioLog = nullptr;

void onCdioLog(cdio_log_level_t level, const char *message)
{
    if (level == CDIO_LOG_ASSERT && s_defaultCdioLog) {
        s_defaultCdioLog(level, message); // libcdio's own invariant broke: it aborts
        return;
    }
    // The default handler exits the program on an error, and a folder given
    // as an image is one; here it only becomes the reason a start failed.
    const GstDebugLevel gstLevel = level >= CDIO_LOG_WARN   ? GST_LEVEL_WARNING
                                   : level == CDIO_LOG_INFO ? GST_LEVEL_INFO
                                                            : GST_LEVEL_DEBUG;
    GST_CAT_LEVEL_LOG(vcdDebug, gstLevel, nullptr, "libcdio: %s", message);
    if (level >= CDIO_LOG_WARN)
        t_lastCdioMessage = message ? message : "";
}

struct Failure {
    GstResourceError code = GST_RESOURCE_ERROR_OPEN_READ;
    std::string text;  // for the user
    std::string debug; // for the log
};

std::string format(const char *fmt, ...) G_GNUC_PRINTF(1, 2);
std::string format(const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    gchar *text = g_strdup_vprintf(fmt, args);
    va_end(args);
    std::string result = text;
    g_free(text);
    return result;
}

const char *formatName(track_format_t format)
{
    switch (format) {
    case TRACK_FORMAT_AUDIO:
        return "an audio track";
    case TRACK_FORMAT_DATA:
        return "a Mode 1 data track";
    case TRACK_FORMAT_CDI:
        return "a CD-i track";
    case TRACK_FORMAT_PSX:
        return "a PlayStation track";
    default:
        return "of unknown kind";
    }
}

// One disc track's sectors as a run of bytes: sector i of the track holds
// bytes [i * 2324, (i + 1) * 2324). Every sector is kept, the empty margins
// too: they hold zeros, which the MPEG demuxer passes over, and keeping them
// makes a byte offset a sector without a table read from the whole disc.
class TrackReader
{
public:
    bool open(const std::string &source, int track, Failure &failure);
    guint64 size() const { return guint64(m_sectors) * kPayload; }
    bool read(guint64 offset, guint8 *out, gsize length, Failure &failure);

private:
    bool fill(lsn_t index, Failure &failure);
    bool holds(lsn_t index) const
    {
        return index >= m_cacheFirst && index < m_cacheFirst + m_cacheCount;
    }
    const guint8 *sector(lsn_t index) const
    {
        return m_raw.data() + gsize(index - m_cacheFirst) * kRawSector;
    }
    bool findMpeg(Failure &failure);

    cd::CdioHandle m_cd;
    std::string m_source;
    int m_track = 0;
    lsn_t m_first = 0;   // LSN of the track's first sector
    lsn_t m_sectors = 0; // up to the next track's start or the lead-out
    std::vector<guint8> m_raw;
    lsn_t m_cacheFirst = 0; // track index of m_raw's first sector
    lsn_t m_cacheCount = 0;
};

bool TrackReader::open(const std::string &source, int track, Failure &failure)
{
    m_source = source;
    m_track = track;
    t_lastCdioMessage.clear();
    m_cd.reset(cdio_open(source.c_str(), DRIVER_UNKNOWN));
    if (!m_cd) {
        const bool exists = g_file_test(source.c_str(), G_FILE_TEST_EXISTS);
        failure = {exists ? GST_RESOURCE_ERROR_OPEN_READ : GST_RESOURCE_ERROR_NOT_FOUND,
                   format(exists ? "Cannot read \"%s\" as a disc drive or disc image."
                                 : "There is no disc drive or disc image \"%s\".",
                          source.c_str()),
                   "libcdio: " + t_lastCdioMessage};
        return false;
    }
    const track_t first = cdio_get_first_track_num(m_cd.get());
    const track_t count = cdio_get_num_tracks(m_cd.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
        failure = {GST_RESOURCE_ERROR_OPEN_READ,
                   format("There is no readable disc in \"%s\".", source.c_str()),
                   "libcdio: " + t_lastCdioMessage};
        return false;
    }
    if (track < first || track >= first + count) {
        failure = {GST_RESOURCE_ERROR_NOT_FOUND,
                   format("The disc in \"%s\" has no track %d.", source.c_str(), track),
                   format("tracks %d to %d", int(first), int(first + count - 1))};
        return false;
    }
    const auto number = track_t(track);
    const track_format_t kind = cdio_get_track_format(m_cd.get(), number);
    if (kind != TRACK_FORMAT_XA) {
        failure = {GST_RESOURCE_ERROR_OPEN_READ,
                   format("Track %d of \"%s\" is %s, not a Video CD track.", track, source.c_str(),
                          formatName(kind)),
                   format("track format %d, Mode 2 (XA) needed", int(kind))};
        return false;
    }
    m_first = cdio_get_track_lsn(m_cd.get(), number);
    const lsn_t last = cdio_get_track_last_lsn(m_cd.get(), number);
    if (m_first == CDIO_INVALID_LSN || last == CDIO_INVALID_LSN || last < m_first) {
        failure = {GST_RESOURCE_ERROR_OPEN_READ,
                   format("Track %d of \"%s\" has no readable extent.", track, source.c_str()),
                   format("sectors %d to %d", int(m_first), int(last))};
        return false;
    }
    m_sectors = last - m_first + 1;
    return findMpeg(failure);
}

// Mode 2 alone does not make a track video: a Video CD's first track is
// Mode 2 too, holding the ISO file system in form 1 sectors.
bool TrackReader::findMpeg(Failure &failure)
{
    static constexpr guint8 kPackStart[] = {0x00, 0x00, 0x01, 0xba};
    const lsn_t end = std::min(m_sectors, kProbeSectors);
    for (lsn_t index = 0; index < end; ++index) {
        if (!holds(index) && !fill(index, failure))
            return false;
        const guint8 *raw = sector(index);
        const guint8 submode = raw[kSubmodeByte];
        if (!(submode & kSubmodeForm2) && (submode & kSubmodeData)) {
            failure = {
                GST_RESOURCE_ERROR_OPEN_READ,
                format("Track %d of \"%s\" holds data, not MPEG video.", m_track, m_source.c_str()),
                format("form 1 data sector %d", int(m_first + index))};
            return false;
        }
        if ((submode & kSubmodeForm2) &&
            std::memcmp(raw + kSubheader, kPackStart, sizeof kPackStart) == 0)
            return true;
    }
    failure = {GST_RESOURCE_ERROR_OPEN_READ,
               format("Track %d of \"%s\" holds no MPEG video.", m_track, m_source.c_str()),
               format("no MPEG pack in its first %d sectors", int(end))};
    return false;
}

bool TrackReader::fill(lsn_t index, Failure &failure)
{
    const lsn_t count = std::min(kSectorsPerRead, m_sectors - index);
    m_cacheCount = 0;
    if (index < 0 || count <= 0) {
        failure = {GST_RESOURCE_ERROR_READ,
                   format("Track %d of \"%s\" ends before the place asked for.", m_track,
                          m_source.c_str()),
                   format("sector %d of %d", int(index), int(m_sectors))};
        return false;
    }
    m_raw.resize(gsize(count) * kRawSector);
    const driver_return_code_t rc =
        cdio_read_mode2_sectors(m_cd.get(), m_raw.data(), m_first + index, true, guint32(count));
    if (rc != DRIVER_OP_SUCCESS) {
        failure = {GST_RESOURCE_ERROR_READ,
                   format("Cannot read track %d of \"%s\".", m_track, m_source.c_str()),
                   format("sectors %d to %d: %s", int(m_first + index),
                          int(m_first + index + count - 1), cdio_driver_errmsg(rc))};
        return false;
    }
    m_cacheFirst = index;
    m_cacheCount = count;
    return true;
}

bool TrackReader::read(guint64 offset, guint8 *out, gsize length, Failure &failure)
{
    while (length > 0) {
        const auto index = lsn_t(offset / kPayload);
        const gsize within = gsize(offset % kPayload);
        if (!holds(index) && !fill(index, failure))
            return false;
        const gsize n = std::min(length, kPayload - within);
        std::memcpy(out, sector(index) + kSubheader + within, n);
        out += n;
        offset += n;
        length -= n;
    }
    return true;
}

// The element itself, a GObject type in C terms.

struct OrvaneVcdSrc {
    GstBaseSrc parent;
    gchar *device;       // guarded by the object lock
    gint track;          // guarded by the object lock
    TrackReader *reader; // between start() and stop()
};

struct OrvaneVcdSrcClass {
    GstBaseSrcClass parent_class;
};

enum { PROP_0, PROP_DEVICE, PROP_TRACK };

gpointer s_parentClass = nullptr;

OrvaneVcdSrc *vcdSrc(gpointer object)
{
    return static_cast<OrvaneVcdSrc *>(object);
}

void postError(OrvaneVcdSrc *self, const Failure &failure)
{
    switch (failure.code) {
    case GST_RESOURCE_ERROR_NOT_FOUND:
        GST_ELEMENT_ERROR(self, RESOURCE, NOT_FOUND, ("%s", failure.text.c_str()),
                          ("%s", failure.debug.c_str()));
        break;
    case GST_RESOURCE_ERROR_OPEN_READ:
        GST_ELEMENT_ERROR(self, RESOURCE, OPEN_READ, ("%s", failure.text.c_str()),
                          ("%s", failure.debug.c_str()));
        break;
    case GST_RESOURCE_ERROR_READ:
        GST_ELEMENT_ERROR(self, RESOURCE, READ, ("%s", failure.text.c_str()),
                          ("%s", failure.debug.c_str()));
        break;
    default:
        GST_ELEMENT_ERROR(self, RESOURCE, FAILED, ("%s", failure.text.c_str()),
                          ("%s", failure.debug.c_str()));
        break;
    }
}

gboolean vcdStart(GstBaseSrc *base)
{
    OrvaneVcdSrc *self = vcdSrc(base);
    GST_OBJECT_LOCK(self);
    const std::string device = self->device ? self->device : "";
    const int track = self->track;
    GST_OBJECT_UNLOCK(self);
    if (device.empty()) {
        postError(self, {GST_RESOURCE_ERROR_NOT_FOUND, "No disc drive or disc image was given.",
                         "the device property is empty"});
        return FALSE;
    }
    auto reader = std::make_unique<TrackReader>();
    Failure failure;
    if (!reader->open(device, track, failure)) {
        postError(self, failure);
        return FALSE;
    }
    GST_CAT_INFO_OBJECT(vcdDebug, self, "track %d of %s: %" G_GUINT64_FORMAT " bytes", track,
                        device.c_str(), reader->size());
    self->reader = reader.release();
    return TRUE;
}

gboolean vcdStop(GstBaseSrc *base)
{
    OrvaneVcdSrc *self = vcdSrc(base);
    delete self->reader;
    self->reader = nullptr;
    return TRUE;
}

gboolean vcdIsSeekable(GstBaseSrc *)
{
    return TRUE;
}

gboolean vcdGetSize(GstBaseSrc *base, guint64 *size)
{
    OrvaneVcdSrc *self = vcdSrc(base);
    if (!self->reader)
        return FALSE;
    *size = self->reader->size();
    return TRUE;
}

// Any byte offset is served: GstBaseSrc's own seek moves the offset it asks
// fill() for, and the reader turns that into a sector, so a seek needs no
// state of its own here.
GstFlowReturn vcdFill(GstBaseSrc *base, guint64 offset, guint length, GstBuffer *buffer)
{
    OrvaneVcdSrc *self = vcdSrc(base);
    if (!self->reader)
        return GST_FLOW_FLUSHING;
    const guint64 size = self->reader->size();
    if (offset >= size)
        return GST_FLOW_EOS;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE))
        return GST_FLOW_ERROR;
    const auto n = gsize(std::min<guint64>({length, map.size, size - offset}));
    Failure failure;
    const bool ok = self->reader->read(offset, map.data, n, failure);
    gst_buffer_unmap(buffer, &map);
    if (!ok) {
        postError(self, failure);
        return GST_FLOW_ERROR;
    }
    gst_buffer_set_size(buffer, gssize(n));
    GST_BUFFER_OFFSET(buffer) = offset;
    GST_BUFFER_OFFSET_END(buffer) = offset + n;
    return GST_FLOW_OK;
}

// Both the properties and a URI land here; a running source keeps what it
// opened, so changing them is only allowed before it starts.
gboolean setSource(OrvaneVcdSrc *self, const gchar *device, int track, GError **error)
{
    GST_OBJECT_LOCK(self);
    const bool started = GST_STATE(self) > GST_STATE_READY;
    if (!started) {
        g_free(self->device);
        self->device = g_strdup(device);
        self->track = track;
    }
    GST_OBJECT_UNLOCK(self);
    if (started) {
        g_set_error(error, GST_URI_ERROR, GST_URI_ERROR_BAD_STATE,
                    "The Video CD source cannot change while it plays.");
        return FALSE;
    }
    return TRUE;
}

void vcdSetProperty(GObject *object, guint id, const GValue *value, GParamSpec *spec)
{
    OrvaneVcdSrc *self = vcdSrc(object);
    GST_OBJECT_LOCK(self);
    std::string device = self->device ? self->device : "";
    int track = self->track;
    GST_OBJECT_UNLOCK(self);
    switch (id) {
    case PROP_DEVICE:
        device = g_value_get_string(value) ? g_value_get_string(value) : "";
        break;
    case PROP_TRACK:
        track = g_value_get_int(value);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
        return;
    }
    GError *error = nullptr;
    if (!setSource(self, device.c_str(), track, &error)) {
        GST_CAT_WARNING_OBJECT(vcdDebug, self, "%s", error->message);
        g_clear_error(&error);
    }
}

void vcdGetProperty(GObject *object, guint id, GValue *value, GParamSpec *spec)
{
    OrvaneVcdSrc *self = vcdSrc(object);
    GST_OBJECT_LOCK(self);
    switch (id) {
    case PROP_DEVICE:
        g_value_set_string(value, self->device);
        break;
    case PROP_TRACK:
        g_value_set_int(value, self->track);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
        break;
    }
    GST_OBJECT_UNLOCK(self);
}

void vcdFinalize(GObject *object)
{
    OrvaneVcdSrc *self = vcdSrc(object);
    delete self->reader;
    g_free(self->device);
    G_OBJECT_CLASS(s_parentClass)->finalize(object);
}

void vcdInit(GTypeInstance *instance, gpointer)
{
    OrvaneVcdSrc *self = vcdSrc(instance);
    self->device = nullptr;
    self->track = 1;
    self->reader = nullptr;
    GstBaseSrc *base = GST_BASE_SRC(self);
    gst_base_src_set_format(base, GST_FORMAT_BYTES);
    gst_base_src_set_blocksize(base, guint(kSectorsPerRead * kPayload));
}

void vcdClassInit(gpointer klass, gpointer)
{
    s_parentClass = g_type_class_peek_parent(klass);
    GObjectClass *objectClass = G_OBJECT_CLASS(klass);
    objectClass->set_property = vcdSetProperty;
    objectClass->get_property = vcdGetProperty;
    objectClass->finalize = vcdFinalize;
    const auto flags = GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS);
    g_object_class_install_property(
        objectClass, PROP_DEVICE,
        g_param_spec_string("device", "Device",
                            "Disc drive device or disc image (.cue, .toc, .nrg)", nullptr, flags));
    g_object_class_install_property(objectClass, PROP_TRACK,
                                    g_param_spec_int("track", "Track",
                                                     "Disc track to read, as the disc numbers them",
                                                     1, kMaxTrack, 1, flags));

    GstElementClass *elementClass = GST_ELEMENT_CLASS(klass);
    static GstStaticPadTemplate srcTemplate =
        GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);
    gst_element_class_add_static_pad_template(elementClass, &srcTemplate);
    gst_element_class_set_static_metadata(elementClass, "Video CD track source", "Source/File",
                                          "Reads the MPEG stream of a Video CD track from a disc "
                                          "drive or a disc image",
                                          "Orvane");

    GstBaseSrcClass *baseClass = GST_BASE_SRC_CLASS(klass);
    baseClass->start = vcdStart;
    baseClass->stop = vcdStop;
    baseClass->is_seekable = vcdIsSeekable;
    baseClass->get_size = vcdGetSize;
    baseClass->fill = vcdFill;
}

GstURIType vcdUriType(GType)
{
    return GST_URI_SRC;
}

const gchar *const *vcdUriProtocols(GType)
{
    static const gchar *const protocols[] = {kVideoCdScheme, nullptr};
    return protocols;
}

gchar *vcdGetUri(GstURIHandler *handler)
{
    OrvaneVcdSrc *self = vcdSrc(handler);
    GST_OBJECT_LOCK(self);
    const QString device = self->device ? QFile::decodeName(self->device) : QString();
    const int track = self->track;
    GST_OBJECT_UNLOCK(self);
    const QString uri = videoCdUri(device, track);
    return uri.isEmpty() ? nullptr : g_strdup(uri.toUtf8().constData());
}

gboolean vcdSetUri(GstURIHandler *handler, const gchar *uri, GError **error)
{
    const auto source = parseVideoCdUri(QString::fromUtf8(uri));
    if (!source) {
        g_set_error(error, GST_URI_ERROR, GST_URI_ERROR_BAD_URI, "Not a Video CD track URI: %s",
                    uri);
        return FALSE;
    }
    return setSource(vcdSrc(handler), QFile::encodeName(source->first).constData(), source->second,
                     error);
}

void vcdUriInit(gpointer iface, gpointer)
{
    auto *uri = static_cast<GstURIHandlerInterface *>(iface);
    uri->get_type = vcdUriType;
    uri->get_protocols = vcdUriProtocols;
    uri->get_uri = vcdGetUri;
    uri->set_uri = vcdSetUri;
}

GType vcdSrcType()
{
    static const GType type = [] {
        const GType t = g_type_register_static_simple(GST_TYPE_BASE_SRC, "OrvaneVcdSrc",
                                                      sizeof(OrvaneVcdSrcClass), vcdClassInit,
                                                      sizeof(OrvaneVcdSrc), vcdInit, GTypeFlags(0));
        const GInterfaceInfo uriHandler{vcdUriInit, nullptr, nullptr};
        g_type_add_interface_static(t, GST_TYPE_URI_HANDLER, &uriHandler);
        return t;
    }();
    return type;
}

} // namespace

void registerVideoCdSource()
{
    static std::once_flag once;
    std::call_once(once, [] {
        GST_DEBUG_CATEGORY_INIT(vcdDebug, kVideoCdSourceFactory, 0, "Video CD track source");
        s_defaultCdioLog = cdio_log_set_handler(&onCdioLog);
        if (!gst_element_register(nullptr, kVideoCdSourceFactory, GST_RANK_PRIMARY + 1,
                                  vcdSrcType()))
            GST_CAT_WARNING(vcdDebug, "the Video CD source could not be registered");
    });
}

} // namespace orvane::playback::gst
