#pragma once

#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/mci/mcidevice.h"
#include "playback/playbackwindow.h"
#include "playback/seekbar.h"

#include <QMetaObject>
#include <QSet>
#include <QStringList>

#include <functional>

namespace orvane::test {

// A MediaPlayer that opens instantly (one event later), reports like the
// real engine (state first, its event queued) and records what was asked.
class FakeMediaPlayer final : public playback::MediaPlayer
{
public:
    QSet<QString> failing;    // locations that fail to open
    QSet<QString> silent;     // locations that never answer
    QStringList loads;        // every non-empty FileName set
    QList<qint32> entryCalls; // SetCurrentEntry arguments
    int plays = 0;
    int markers = 0;
    int marker = 0;
    double length = 240.0;
    double position = 0.0;
    std::function<double()> livePosition; // a position that moves without events

    QString fileName() const override { return m_file; }
    void setFileName(const QString &location) override
    {
        m_file = location;
        m_error = false;
        setState(Closed);
        if (location.isEmpty() || silent.contains(location))
            return;
        loads << location;
        QMetaObject::invokeMethod(
            this,
            [this, location] {
                if (m_file != location)
                    return;
                if (failing.contains(location)) {
                    m_error = true;
                    Q_EMIT error();
                } else {
                    setState(Stopped);
                }
            },
            Qt::QueuedConnection);
    }
    int playState() const override { return m_state; }
    void play() override
    {
        if (m_state == Closed)
            return;
        ++plays;
        setState(Playing);
    }
    void pause() override
    {
        if (m_state == Playing)
            setState(Paused);
    }
    void stop() override
    {
        if (m_state != Closed)
            setState(Stopped);
    }
    // The media played to its end.
    void finish() { setState(Stopped); }

    double currentPosition() const override { return livePosition ? livePosition() : position; }
    void setCurrentPosition(double seconds) override { position = seconds; }
    double duration() const override { return length > 0 ? length : 0.0; }
    bool isDurationValid() const override { return m_state != Closed && length > 0; }
    bool canSeek() const override { return true; }
    int markerCount() const override { return markers; }
    int currentMarker() const override { return marker; }
    void setCurrentMarker(int m) override { marker = m; }
    int playCount() const override { return m_playCount; }
    void setPlayCount(int count) override { m_playCount = count; }
    int entryCount() const override { return 5; }
    int currentEntry() const override { return entryCalls.isEmpty() ? 1 : entryCalls.last(); }
    void setCurrentEntry(qint32 entry) override { entryCalls << entry; }
    int displaySize() const override { return m_display; }
    void setDisplaySize(int size) override { m_display = size; }
    QSize videoSize() const override { return {}; }
    QWindow *videoWindow() override { return nullptr; }
    bool hasError() const override { return m_error; }
    QString errorDescription() const override { return QStringLiteral("cannot open"); }
    qint32 errorCode() const override { return ErrorFileNotFound; }
    QString errorRecovery() const override { return m_error ? QStringLiteral("none") : QString(); }
    QString mediaInfoString(int) const override { return {}; }
    int codecCount() const override { return 0; }
    QString codecDescription(int) const override { return {}; }
    bool isMuted() const override { return false; }
    void setMuted(bool) override {}
    bool autoSize() const override { return false; }
    void setAutoSize(bool) override {}
    bool autoStart() const override { return false; }
    void setAutoStart(bool) override {}
    bool autoRewind() const override { return false; }
    void setAutoRewind(bool) override {}
    int videoBorder() const override { return 0; }
    void setVideoBorder(int) override {}
    bool showControls() const override { return false; }
    void setShowControls(bool) override {}
    bool sendStateEvents() const override { return true; }
    void setSendStateEvents(bool) override {}
    bool sendErrorEvents() const override { return true; }
    void setSendErrorEvents(bool) override {}
    bool sendWarningEvents() const override { return true; }
    void setSendWarningEvents(bool) override {}
    void showDialog(int) override {}
    void aboutBox() override {}
    playback::EngineReport report(int) const override { return {}; }

private:
    void setState(int state)
    {
        if (state == m_state)
            return;
        const int old = m_state;
        m_state = state;
        QMetaObject::invokeMethod(
            this, [this, old, state] { Q_EMIT playStateChanged(old, state); },
            Qt::QueuedConnection);
    }

    QString m_file;
    int m_state = Closed;
    bool m_error = false;
    int m_playCount = 1;
    int m_display = 0;
};

// A RealPlayer whose play() reaches Playing one event later.
class FakeRealPlayer final : public playback::RealPlayer
{
public:
    QStringList sources;
    int plays = 0;
    int entry = 1;
    int entries = 1;
    bool looping = false;
    int loops = 1;

    QString source() const override { return m_source; }
    void setSource(const QString &location) override
    {
        m_source = location;
        if (!location.isEmpty())
            sources << location;
        entry = 1;
        setState(Stopped);
    }
    QString controls() const override { return m_controls; }
    void setControls(const QString &c) override { m_controls = c; }
    int playState() const override { return m_state; }
    void play() override
    {
        if (m_source.isEmpty())
            return;
        ++plays;
        setState(Playing);
    }
    void pause() override
    {
        if (m_state == Playing)
            setState(Paused);
    }
    void stop() override { setState(Stopped); }
    void finish() { setState(Stopped); }
    void setPosition(qint32 ms) override { m_position = ms; }
    qint32 position() const override { return m_position; }
    qint32 length() const override { return m_source.isEmpty() ? -1 : 90000; }
    bool canPlay() const override { return !m_source.isEmpty(); }
    bool canSeek() const override { return true; }
    bool isLooping() const override { return looping; }
    void setLooping(bool on) override { looping = on; }
    int loopCount() const override { return loops; }
    void setLoopCount(int count) override { loops = count; }
    int numEntries() const override { return entries; }
    int currentEntry() const override { return entry; }
    void nextEntry() override { entry = qMin(entry + 1, entries); }
    void previousEntry() override { entry = qMax(entry - 1, 1); }
    QString entryTitle(int) const override { return {}; }
    QString entryAuthor(int) const override { return {}; }
    QString entryCopyright(int) const override { return {}; }
    QString entryAbstract(int) const override { return {}; }
    QString title() const override { return {}; }
    QString author() const override { return {}; }
    QString copyright() const override { return {}; }
    int clipWidth() const override { return 0; }
    int clipHeight() const override { return 0; }
    bool isMute() const override { return false; }
    void setMute(bool) override {}
    void setCentered(bool) override {}
    void setOriginalSize() override {}
    void setDoubleSize() override {}
    int pictureScale() const override { return 1; }
    void setVolume(int) override {}
    void setAutoStart(bool) override {}
    void setShuffle(bool) override {}
    void setMaintainAspect(bool) override {}
    void setWantKeyboardEvents(bool) override {}
    void setWantMouseEvents(bool) override {}
    void setEnableContextMenu(bool) override {}
    void setOnScreenMessages(bool) override {}
    QString statisticsText() const override { return {}; }
    QString preferencesText() const override { return {}; }
    QString aboutText() const override { return {}; }
    QWindow *videoWindow() override { return nullptr; }

private:
    void setState(int state)
    {
        if (state == m_state)
            return;
        m_state = state;
        QMetaObject::invokeMethod(
            this, [this, state] { Q_EMIT stateChanged(state); }, Qt::QueuedConnection);
    }

    QString m_source;
    QString m_controls;
    int m_state = Stopped;
    qint32 m_position = 0;
};

// A CD drive with one disc: tracks of the given lengths (seconds), played in
// real time only when the test says so (advance()).
class FakeCdDevice final : public playback::mci::MciDevice
{
public:
    qint32 identity = 1234;
    QList<int> trackSeconds{200, 180, 240};
    QStringList commands;
    bool open = false;
    QString mode = QStringLiteral("stopped");
    int track = 1;
    double position = 0.0;  // within the track
    double endOfPlay = 0.0; // where the running play stops

    FakeCdDevice() { playback::mci::setMciDevice(this); }
    ~FakeCdDevice() override { playback::mci::setMciDevice(nullptr); }

    // Plays on by seconds; the device stops at the end of the play range.
    void advance(double seconds)
    {
        if (mode != u"playing")
            return;
        position = qMin(position + seconds, endOfPlay);
        if (position >= endOfPlay)
            mode = QStringLiteral("stopped");
    }
    int countOf(const QString &prefix) const
    {
        int n = 0;
        for (const QString &c : commands)
            n += c.startsWith(prefix) ? 1 : 0;
        return n;
    }

    quint32 sendString(const QString &command, QString &reply) override;

private:
    QString msf(double seconds) const;
};

// The main window as playback sees it.
class FakeWindow final : public playback::PlaybackWindow
{
public:
    QString pressed;
    QString info = QStringLiteral("(untouched)");
    int soundActions = 0;
    int soundRefreshes = 0;
    int layouts = 0;
    bool menuHelp = false;
    bool shown = true;

    void pressControlButton(const QString &key) override { pressed = key; }
    void runSoundAction() override { ++soundActions; }
    void refreshSoundControls() override { ++soundRefreshes; }
    void setInfoText(const QString &text) override { info = text; }
    QString mediaInfoText() override { return QStringLiteral("info"); }
    void layoutPictureArea() override { ++layouts; }
    bool menuHelpShown() const override { return menuHelp; }
    bool statusShown() const override { return shown; }
};

class FakeSeekBar final : public playback::SeekBar
{
public:
    int value_ = 0, maximum_ = 10, large = 0, small = 0, ticks = 0;
    bool enabled = false;
    int value() const override { return value_; }
    void setValue(int v) override { value_ = v; }
    int maximum() const override { return maximum_; }
    void setMaximum(int m) override { maximum_ = m; }
    void setLargeChange(int s) override { large = s; }
    void setSmallChange(int s) override { small = s; }
    void setTickFrequency(int s) override { ticks = s; }
    bool isEnabled() const override { return enabled; }
    void setEnabled(bool on) override { enabled = on; }
};

class FakeStatusLine final : public playback::StatusLine
{
public:
    QString shown;
    int writes = 0;
    QString text() const override { return shown; }
    void setText(const QString &t) override
    {
        shown = t;
        ++writes;
    }
};

} // namespace orvane::test
