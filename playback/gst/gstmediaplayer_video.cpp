#include "playback/gst/gstmediaplayer.h"
#include "playback/gst/gstmediaplayer_p.h"

#include <QGuiApplication>

#include <gst/gst.h>
#include <gst/video/videooverlay.h>

namespace orvane::playback::gst {

GstElement *GstMediaPlayer::makeVideoSink()
{
    QString desc = !m_options.videoSink.isEmpty() ? m_options.videoSink
                                                  : envOr("ORVANE_GST_VIDEO_SINK", QString());
    const bool x11 = m_window && QGuiApplication::platformName() == QLatin1String("xcb");
    if (!desc.isEmpty() || !x11)
        return makeBin(desc.isEmpty() ? QStringLiteral("fakesink sync=true") : desc);

    // ximagesink does not scale (and Xvfb offers no Xv port for
    // xvimagesink), so the picture is scaled to the size the display size
    // asks for before it reaches the sink, which centres it in the window.
    GstElement *bin = makeBin(
        QStringLiteral("videoscale ! capsfilter name=size ! videoconvert ! ximagesink name=sink "
                       "handle-events=false"));
    if (!bin)
        return nullptr;
    m_sizeFilter = gst_bin_get_by_name(GST_BIN(bin), "size");
    m_videoSink = gst_bin_get_by_name(GST_BIN(bin), "sink");
    gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(m_videoSink), m_window->winId());
    return bin;
}

QWindow *GstMediaPlayer::videoWindow()
{
    return m_window.get();
}

void GstMediaPlayer::updatePictureSize()
{
    if (!m_sizeFilter || !m_videoSize.isValid() || !m_window)
        return;
    const qreal ratio = m_window->devicePixelRatio();
    QSize area = (QSizeF(m_window->size()) * ratio).toSize() - QSize(2 * m_border, 2 * m_border);
    QSize picture = m_videoSize;
    if (m_displaySize == DisplayDouble)
        picture *= 2;
    if (area.width() > 0 && area.height() > 0) {
        if (m_displaySize == DisplayFitToSize || picture.width() > area.width() ||
            picture.height() > area.height())
            picture = m_videoSize.scaled(area, Qt::KeepAspectRatio);
    }
    picture = picture.expandedTo(QSize(2, 2));
    if (picture == m_pictureSize)
        return;
    m_pictureSize = picture;
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "width", G_TYPE_INT, picture.width(),
                                        "height", G_TYPE_INT, picture.height(),
                                        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
    g_object_set(m_sizeFilter, "caps", caps, nullptr);
    gst_caps_unref(caps);
}

void GstMediaPlayer::videoWindowResized()
{
    updatePictureSize();
    videoWindowExposed();
}

// The sink learns the window's size only here (it takes no X events of
// its own, so the user interface keeps the mouse and keyboard).
void GstMediaPlayer::videoWindowExposed()
{
    if (m_videoSink)
        gst_video_overlay_expose(GST_VIDEO_OVERLAY(m_videoSink));
}

void GstMediaPlayer::setDisplaySize(int size)
{
    m_displaySize = size == DisplayDouble || size == DisplayFitToSize ? size : DisplayDefault;
    updatePictureSize();
}

void GstMediaPlayer::setVideoBorder(int pixels)
{
    m_border = qBound(0, pixels, 1000);
    updatePictureSize();
}

} // namespace orvane::playback::gst
