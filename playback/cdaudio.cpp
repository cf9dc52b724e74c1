#include "core/language.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "playback/controllerdetail.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/mci/mcireplies.h"
#include "playback/mci/sendmci.h"

namespace orvane::playback::detail {

namespace {

constexpr qint32 kReplyCapacity = 256;

QString trackText(qint32 track)
{
    return QString::number(track);
}

QString msfText(const mci::MsfPosition &msf)
{
    return QString::number(msf.minutes) + u':' + QString::number(msf.seconds) + u':' +
           QString::number(msf.frames);
}

void emptyPlayerEngines(MediaPlayer &mp, RealPlayer &rp)
{
    if (rp.source().isEmpty() && mp.fileName().isEmpty())
        return;
    mp.stop();
    mp.setFileName(QString());
    rp.stop();
    rp.setSource(QString());
}

bool prepareCdDevice(MediaPlayer &mp, RealPlayer &rp)
{
    core::modMain::ShowErrors = false;
    mciSend(QStringLiteral("stop Medias"));
    mciSend(QStringLiteral("close Medias wait"));
    emptyPlayerEngines(mp, rp);
    ResetEngines(mp, rp, nullptr, false);
    const LoadWait result = waitForEngines(mp, [&] {
        return mp.playState() == MediaPlayer::Closed && rp.playState() == RealPlayer::Stopped;
    });
    if (result != LoadWait::Ready)
        return false;
    deliverQueuedReports(mp, rp);
    core::modMain::ShowErrors = true;
    return true;
}

} // namespace

QString mciQuery(const QString &command)
{
    QString reply;
    QString error;
    SendMci(command, reply, kReplyCapacity, 0, error, false);
    return reply;
}

void mciSend(const QString &command)
{
    (void)mciQuery(command);
}

PlayMode cdPlayMode()
{
    const QString mode = mciQuery(QStringLiteral("status Medias mode")).toLower();
    if (mode == u"paused")
        return kPlayModePaused;
    if (mode == u"playing")
        return kPlayModePlaying;
    if (mode == u"seeking")
        return kPlayModeSeeking;
    if (mode != u"stopped")
        return kPlayModeNothing;
    // Stopped in the middle of a track is how a paused disc looks to the
    // device; only the very start or end of a track is really stopped.
    const qint16 track = mci::leadingInt16(mciQuery(QStringLiteral("status Medias current track")));
    const double position =
        mci::tmsfPositionSeconds(mciQuery(QStringLiteral("status Medias position")));
    const double length = mci::tmsfLengthSeconds(
        mciQuery(QStringLiteral("status Medias length track ") + trackText(track)));
    return position != 0.0 && position != length ? kPlayModePaused : kPlayModeStopped;
}

bool playCdTrack(MediaPlayer &mp, RealPlayer &rp, const playlist::PlayListItem &item)
{
    const PlayMode mode = cdPlayMode();
    const bool reopen =
        item.DRIVE != state::LoadedSource || mode == kPlayModeStopped || mode == kPlayModeNothing;
    if (reopen && !prepareCdDevice(mp, rp))
        return false;
    state::LoadedMediaType = kAudioCdTrack;
    if (reopen) {
        mciSend(QStringLiteral("open ") + item.DRIVE +
                QStringLiteral(" type cdaudio alias Medias wait"));
        mciSend(QStringLiteral("set Medias time format tmsf"));
    }
    const qint32 identity = mci::leadingInt32(mciQuery(QStringLiteral("info Medias identity")));
    if (identity != item.NUMBER) {
        core::messageBox().show(
            core::GetText(QStringLiteral("Status"), QStringLiteral("mesFDiscID")),
            core::kApplicationTitle, core::MessageIcon::Critical, core::MessageButtons::Ok);
        return false;
    }
    const QString track = trackText(item.TRACK);
    const QString length = mciQuery(QStringLiteral("status Medias length track ") + track);
    if (state::LoadedEntry != item.TRACK || reopen)
        mciSend(QStringLiteral("play Medias from ") + track + QStringLiteral(":0:0 to ") + track +
                u':' + length);
    else
        mciSend(QStringLiteral("play Medias to ") + track + u':' + length);
    state::LoadedSource = item.DRIVE;
    state::LoadedEntry = qint16(item.TRACK);
    return true;
}

bool seekCd(double seconds)
{
    const qint16 track = mci::leadingInt16(mciQuery(QStringLiteral("status Medias current track")));
    const QString lengthReply =
        mciQuery(QStringLiteral("status Medias length track ") + trackText(track));
    const double length = mci::tmsfLengthSeconds(lengthReply);
    if (!(seconds <= length) || seconds < 0.0)
        return false;
    const QString target = trackText(track) + u':' + msfText(mci::msfFromSeconds(seconds));
    if (cdPlayMode() == kPlayModePlaying)
        mciSend(QStringLiteral("play Medias from ") + target + QStringLiteral(" to ") +
                trackText(track) + u':' + lengthReply);
    else
        mciSend(QStringLiteral("seek Medias to ") + target);
    return true;
}

void pauseCd()
{
    if (cdPlayMode() != kPlayModePaused)
        mciSend(QStringLiteral("pause Medias"));
}

void stopCd()
{
    if (cdPlayMode() != kPlayModeStopped) {
        mciSend(QStringLiteral("stop Medias"));
        mciSend(QStringLiteral("seek Medias to start"));
    }
}

} // namespace orvane::playback::detail
