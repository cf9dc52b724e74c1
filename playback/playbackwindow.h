#pragma once

#include <QString>

namespace orvane::playback {

// The status line (lblStatus) as the playback code sees it.
class StatusLine
{
public:
    virtual ~StatusLine() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};

// What playback needs of the main window beyond the engines, the playlist
// view and the seek bar. The window implements it; tests use a recording
// fake, so navigation and status run without any widget.
class PlaybackWindow
{
public:
    virtual ~PlaybackWindow() = default;
    // Shows the control toolbar's button "play", "pause" or "stop" pressed
    // (value 1); the other two come up.
    virtual void pressControlButton(const QString &key) = 0;
    // Runs the click action of the toolbar button "sound" again, which
    // re-applies volume and muting.
    virtual void runSoundAction() = 0;
    // Shows in the volume slider and the mute button what the mixer holds
    // now, without writing to it: a volume set elsewhere stays as it is.
    virtual void refreshSoundControls() = 0;
    // The information box txtInfo.
    virtual void setInfoText(const QString &text) = 0;
    // GetMediaInfoText of the loaded item.
    virtual QString mediaInfoText() = 0;
    // LayoutPictureArea with the window's picture area and display size.
    virtual void layoutPictureArea() = 0;
    // A menu item's help text occupies the status line.
    virtual bool menuHelpShown() const = 0;
    // The status line and seek bar can be seen: the window is on the
    // screen, not minimised and not covered whole. While they cannot, the
    // periodic refresh leaves them alone.
    virtual bool statusShown() const = 0;
};

} // namespace orvane::playback
