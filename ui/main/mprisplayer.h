#pragma once

#include <QList>
#include <QString>

namespace orvane::ui {

// What the desktop's media controls may see of and do with the player. The
// main window implements it by running its own Play commands, so a media key
// on the desktop does exactly what the Play menu does.
class MprisPlayer
{
public:
    struct Track {
        QString key; // the playlist view's key, "num" + index
        QString title;
        QString artist;
        QString url;
        qint64 lengthUs = -1; // unknown when negative
    };

    virtual ~MprisPlayer() = default;

    virtual QList<Track> tracks() const = 0; // in play order
    virtual QString currentKey() const = 0;  // empty when nothing is current
    // "Playing", "Paused" or "Stopped".
    virtual QString playbackStatus() const = 0;
    virtual qint64 positionUs() const = 0;
    virtual bool canSeek() const = 0;

    virtual void playPause() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    virtual void goTo(const QString &key) = 0;
    virtual void setPositionUs(qint64 position) = 0;
    virtual void raise() = 0;
    virtual void quit() = 0;
};

} // namespace orvane::ui
