#pragma once

// What the files of GstMediaPlayer share among themselves; not for use
// outside the engine.

#include "playback/gst/gstmediaplayer.h"

#include <QLoggingCategory>
#include <QString>
#include <QWindow>

#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

Q_DECLARE_LOGGING_CATEGORY(lcGst)

namespace orvane::playback::gst {

constexpr double kNanosPerSecond = 1e9;

QString envOr(const char *name, const QString &fallback);
GstElement *makeBin(const QString &description);
QString tagString(const GstTagList *tags, const char *tag);

// The window the X11 sink draws into. Qt never paints it; it only tells
// the engine when it changes size or must be drawn again.
class VideoWindow final : public QWindow
{
public:
    explicit VideoWindow(GstMediaPlayer *engine)
        : m_engine(engine)
    {
        setTitle(QStringLiteral("Orvane video"));
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWindow::resizeEvent(event);
        m_engine->videoWindowResized();
    }
    void exposeEvent(QExposeEvent *event) override
    {
        QWindow::exposeEvent(event);
        if (isExposed())
            m_engine->videoWindowExposed();
    }

private:
    GstMediaPlayer *m_engine;
};

// What the bus handler may touch: fixed at creation, except the generation,
// which the GUI thread changes only while no streaming thread runs.
struct BusRelay {
    GstMediaPlayer *target = nullptr;
    GstElement *pipeline = nullptr;
    guintptr windowHandle = 0; // our video window, 0 without one
    std::atomic<quint64> generation{0};

    // playbin asks for the next location on a streaming thread and takes
    // it only while it asks; the GUI thread answers through these.
    std::mutex nextLock;
    std::condition_variable nextAnswered;
    quint64 askedGeneration = 0; // 0: nobody asks
    bool answered = false;
    QByteArray nextUri;
    // False while nothing could be handed over (a muted probe, no
    // provider): the streaming thread then does not wait for the GUI.
    std::atomic<bool> mayHandOver{false};

    static GstBusSyncReply onMessage(GstBus *, GstMessage *message, gpointer data);
    static void onAboutToFinish(GstElement *playbin, gpointer data);
};

} // namespace orvane::playback::gst
