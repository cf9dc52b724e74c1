#include "adding/addmedia.h"

#include "adding/logging.h"
#include "adding/mediainfo.h"

#include "core/busywork.h"
#include "core/drives.h"
#include "core/filetypes.h"
#include "core/language.h"
#include "core/location.h"
#include "core/modmain.h"
#include "playback/cd/boundeddisc.h"
#include "playback/cd/cdaudiodevice.h"
#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/gst/videocduri.h"
#include "playback/mci/mcireplies.h"
#include "playback/mci/sendmci.h"
#include "playback/seekbar.h"
#include "playlist/locationlist.h"
#include "playlist/locations.h"
#include "playlist/lstplaylist.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistitem.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <ctime>

namespace orvane::adding {

using playback::MediaPlayer;
using playback::RealPlayer;
namespace state = playback::state;

AddingOptions &addingOptions()
{
    static AddingOptions options;
    return options;
}

namespace {

QString statusText(const char *key)
{
    return core::GetText(QStringLiteral("Status"), QString::fromLatin1(key));
}

// Lets pending events run once, without waiting for more.
void letEventsRun()
{
    core::pumpEvents(0);
}

enum class Wait { Done, Failed, Skipped, TimedOut };

// Pumps events until done() holds. failed() ends the wait early, as does a
// skip request or the window closing; the wait never outlasts the engine
// wait bound. Each pass sleeps until the next event or 10 ms, so a long
// wait costs no CPU.
template <typename Done, typename Failed>
Wait waitFor(Done done, Failed failed, const ProgressSink *progress)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (failed())
            return Wait::Failed;
        // A Skip pressed in the pass the engine answered in still skips:
        // the user asked for it, whatever came first.
        if ((progress && progress->SkipRequested) || core::busyWorkCancelled())
            return Wait::Skipped;
        if (done())
            return Wait::Done;
        if (clock.elapsed() >= addingOptions().engineWaitMs)
            return Wait::TimedOut;
        core::pumpEvents(10);
    }
}

const auto kNeverFails = [] { return false; };

// How the controller's error handler classes a MediaPlayer error: only
// errors that ended the media count.
bool mediaPlayerErrorIgnorable(const MediaPlayer &mediaPlayer)
{
    if (mediaPlayer.errorCode() == qint32(0x800A0005))
        return true;
    const QString recovery = mediaPlayer.errorRecovery().toLower();
    return recovery != QStringLiteral("none") && recovery != QStringLiteral("なし");
}

bool probeMediaPlayer(const QString &location, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                      const ProgressSink *progress)
{
    if (!mediaPlayer.fileName().isEmpty()) {
        mediaPlayer.setFileName(QString());
        const auto closed = [&] { return mediaPlayer.playState() == MediaPlayer::Closed; };
        if (waitFor(closed, kNeverFails, progress) != Wait::Done)
            return false;
    }
    playback::ResetEngines(mediaPlayer, realPlayer, nullptr, false);
    mediaPlayer.setFileName(location);
    const auto opened = [&] { return mediaPlayer.playState() != MediaPlayer::Closed; };
    const auto failed = [&] {
        return mediaPlayer.hasError() && !mediaPlayerErrorIgnorable(mediaPlayer);
    };
    if (waitFor(opened, failed, progress) != Wait::Done)
        return false;
    mediaPlayer.stop();
    return !mediaPlayer.hasError() || mediaPlayerErrorIgnorable(mediaPlayer);
}

// Records RealPlayer's reports in RealStatus and IgnoreError while a probe
// runs, as the main window's handlers do, so the probe also works where no
// window listens (a second recording of the same value changes nothing).
class RealStatusRecorder
{
public:
    explicit RealStatusRecorder(RealPlayer &realPlayer)
    {
        m_connections[0] = QObject::connect(&realPlayer, &RealPlayer::clipOpened, &realPlayer,
                                            [] { state::RealStatus = 1; });
        m_connections[1] = QObject::connect(&realPlayer, &RealPlayer::clipClosed, &realPlayer,
                                            [] { state::RealStatus = 2; });
        m_connections[2] = QObject::connect(&realPlayer, &RealPlayer::buffering, &realPlayer,
                                            [] { state::RealStatus = 3; });
        m_connections[3] =
            QObject::connect(&realPlayer, &RealPlayer::errorMessage, &realPlayer, [](int severity) {
                state::RealStatus = 4;
                state::IgnoreError =
                    severity == RealPlayer::Informational || severity == RealPlayer::Debug;
            });
    }
    ~RealStatusRecorder()
    {
        for (const auto &connection : m_connections)
            QObject::disconnect(connection);
    }
    RealStatusRecorder(const RealStatusRecorder &) = delete;
    RealStatusRecorder &operator=(const RealStatusRecorder &) = delete;

private:
    QMetaObject::Connection m_connections[4];
};

bool probeRealPlayer(const QString &location, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                     const ProgressSink *progress)
{
    RealStatusRecorder recorder(realPlayer);
    const auto failed = [] { return state::RealStatus == 4 && !state::IgnoreError; };
    state::RealStatus = 0;
    if (!realPlayer.source().isEmpty()) {
        realPlayer.setSource(QString());
        const auto emptied = [&] {
            return realPlayer.source().isEmpty() && realPlayer.playState() == RealPlayer::Stopped;
        };
        if (waitFor(emptied, failed, progress) != Wait::Done)
            return false;
    }
    state::RealStatus = 0;
    realPlayer.setSource(location);
    playback::ResetEngines(mediaPlayer, realPlayer, nullptr, false);
    realPlayer.play();
    const Wait reported = waitFor([] { return state::RealStatus != 0; }, kNeverFails, progress);
    realPlayer.stop();
    if (reported != Wait::Done || failed())
        return false;
    // The state still shows what the clip had before the stop took effect.
    const auto notStopped = [&] { return realPlayer.playState() != RealPlayer::Stopped; };
    if (waitFor(notStopped, kNeverFails, progress) != Wait::Done)
        return false;
    return realPlayer.canPlay();
}

QString driveOf(const QString &location)
{
    return playlist::NormaliseLocation(location, QString(), true, QString(), nullptr, 2);
}

QString mci(const QString &command)
{
    QString reply;
    QString errorText;
    playback::SendMci(command, reply, 256, 0, errorText, false);
    return reply;
}

bool probeAudioCd(const QString &location)
{
    const QString drive = driveOf(location);
    if (!drive.endsWith(u':'))
        return false;
    // A device left open by an earlier probe would answer for its own disc.
    mci(QStringLiteral("close Medias wait"));
    QString reply;
    QString errorText;
    if (!playback::SendMci(QStringLiteral("open ") + drive +
                               QStringLiteral(" type cdaudio alias Medias wait"),
                           reply, 256, 0, errorText, false)) {
        qCInfo(lcAdding).noquote() << "the CD device of" << drive << "says:" << errorText;
        return false;
    }
    return mci(QStringLiteral("capability Medias device type"))
               .compare(QStringLiteral("cdaudio"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool TryOpen(const QString &location, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
             qint32 engine, ProgressSink *progress)
{
    if (progress)
        progress->SkipRequested = false;
    switch (engine) {
    case kProbeMediaPlayer:
        return probeMediaPlayer(location, mediaPlayer, realPlayer, progress);
    case kProbeRealPlayer:
        return probeRealPlayer(location, mediaPlayer, realPlayer, progress);
    case kProbeAudioCd:
        return probeAudioCd(location);
    default:
        return false;
    }
}

void SetBusyState(bool busy, playback::SeekBar *silSeek, MediaPlayer &mediaPlayer,
                  RealPlayer &realPlayer, playlist::lstPlayList &, AddingWindow *window)
{
    // Where the pictures were before they were moved away.
    static QRect savedGeometry[2];
    if (silSeek)
        silSeek->setEnabled(!busy);
    core::modMain::ShowErrors = !busy;
    mediaPlayer.setMuted(busy);
    realPlayer.setMute(busy);
    if (!window)
        return;
    const EngineView views[2] = {EngineView::MediaPlayer, EngineView::RealPlayer};
    for (int i = 0; i < 2; ++i) {
        window->setEngineViewVisible(views[i], !busy);
        if (busy) {
            savedGeometry[i] = window->engineViewGeometry(views[i]);
            window->setEngineViewGeometry(views[i], QRect(-10, -10, 10, 10));
        } else {
            window->setEngineViewGeometry(views[i], savedGeometry[i]);
        }
    }
    window->setPlayListViewVisible(!busy);
}

namespace {

using playlist::PlayListItem;

// Stands in for the progress dialog when the caller has no window.
class NoProgress final : public ProgressSink
{
public:
    void Show_Status(const QString &, const QString &, const QString &, qint32, qint32, qint16,
                     qint16) override
    {}
};

// Stores one record at the next free index and appends its view line.
void addRecord(playlist::lstPlayList &view, PlayListItem record, const QString &shownLocation)
{
    if (record.TITLE.isEmpty())
        record.TITLE = TitleWhenUntagged(record.FILENAME);
    record.DOPLAY = playlist::kTrue;
    record.DOLOOP = 1;
    const int index = playlist::NextRecordIndex();
    playlist::EnsureRecord(index) = record;
    view.insertItem(view.count(), playlist::ViewItemOfRecord(index, shownLocation));
}

PlayListItem mediaPlayerRecord(const MediaPlayer &mediaPlayer, const QString &location,
                               qint32 number)
{
    PlayListItem record;
    record.MEDIATYPE = playlist::kMediaWmp;
    record.FILENAME = location;
    record.NUMBER = number;
    record.TITLE = mediaPlayer.mediaInfoString(MediaPlayer::InfoTitle);
    record.AUTHOR = mediaPlayer.mediaInfoString(MediaPlayer::InfoAuthor);
    record.COPYRIGHT = mediaPlayer.mediaInfoString(MediaPlayer::InfoCopyright);
    record.DESCRIPTHION = mediaPlayer.mediaInfoString(MediaPlayer::InfoDescription);
    return record;
}

void addMediaPlayerRecords(MediaPlayer &mediaPlayer, playlist::lstPlayList &view,
                           const QString &location, const QString &shown)
{
    const int entries = mediaPlayer.entryCount();
    if (entries == 0) {
        addRecord(view, mediaPlayerRecord(mediaPlayer, location, 0), shown);
        return;
    }
    for (int entry = 1; entry <= entries; ++entry) {
        mediaPlayer.setCurrentEntry(entry);
        letEventsRun();
        addRecord(view, mediaPlayerRecord(mediaPlayer, location, entry), shown);
    }
}

void addRealPlayerRecords(const RealPlayer &realPlayer, playlist::lstPlayList &view,
                          const QString &location, const QString &shown)
{
    for (int i = 0; i < realPlayer.numEntries(); ++i) {
        PlayListItem record;
        record.MEDIATYPE = playlist::kMediaReal;
        record.FILENAME = location;
        record.NUMBER = i + 1;
        record.TITLE = realPlayer.entryTitle(i);
        record.AUTHOR = realPlayer.entryAuthor(i);
        record.COPYRIGHT = realPlayer.entryCopyright(i);
        record.DESCRIPTHION = realPlayer.entryAbstract(i);
        addRecord(view, record, shown);
    }
}

void addDiscRecords(playlist::lstPlayList &view, qint32 type, const QString &drive, qint32 number,
                    const QList<qint32> &tracks)
{
    const QString scheme =
        type == playlist::kMediaAudioCd ? playlist::kAudioCdScheme : playlist::kVideoCdScheme;
    for (const qint32 track : tracks) {
        PlayListItem record;
        record.MEDIATYPE = type;
        record.FILENAME = scheme + drive + u'/' + QString::number(track) + u'/';
        record.NUMBER = number;
        record.DRIVE = drive;
        record.TRACK = track;
        addRecord(view, record, record.FILENAME);
    }
}

constexpr int kDiscReadBoundMs = 5000;

// One item per audio track, under the track's own number (a disc need not
// start at 1), named from CD-TEXT where the disc has it. Data tracks of an
// enhanced CD are no sound and are left out.
void addAudioCdRecords(playlist::lstPlayList &view, const QString &drive, qint32 identity,
                       const playback::DiscInfo &disc)
{
    for (const playback::DiscTrack &track : disc.tracks) {
        if (!track.audio)
            continue;
        PlayListItem record;
        record.MEDIATYPE = playlist::kMediaAudioCd;
        record.FILENAME =
            playlist::kAudioCdScheme + drive + u'/' + QString::number(track.number) + u'/';
        record.NUMBER = identity;
        record.DRIVE = drive;
        record.TRACK = track.number;
        record.TITLE = track.title;
        record.AUTHOR = track.performer.isEmpty() ? disc.performer : track.performer;
        record.DESCRIPTHION = disc.title;
        addRecord(view, record, record.FILENAME);
    }
}

// The disc the probe just opened: its identity from the device, its table
// (read once with the open) for the tracks and their names.
std::optional<playback::DiscInfo> openedAudioCd(const QString &drive, qint32 *identity)
{
    *identity = playback::mci::leadingInt32(mci(QStringLiteral("info Medias identity")));
    mci(QStringLiteral("close Medias wait"));
    const auto source = playback::driveTableSource(drive);
    return source ? playback::readDiscCached(source->path, kDiscReadBoundMs) : std::nullopt;
}

// The tracks of a Video CD: on a drive or an image its MPEG tracks, read
// raw (a mounted disc's AVSEQnn.DAT files cannot be read as files); in a
// mapped folder of copied files those of "MPEGAV".
// Either way a track counts when the first engine opens it.
QList<qint32> videoCdTracks(const QString &drive, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                            ProgressSink &progress)
{
    const core::DriveTable table = core::currentDriveTable();
    const QString root = table.folderOf(drive);
    const auto mapped = table.drive(drive);
    QList<qint32> tracks;
    if (mapped && mapped->kind != core::DriveTable::Kind::Folder) {
        const auto disc = playback::readDiscCached(mapped->target, kDiscReadBoundMs);
        for (const playback::DiscTrack &track :
             disc ? disc->tracks : QVector<playback::DiscTrack>{}) {
            if (track.number < 2 || track.audio)
                continue;
            if (TryOpen(playback::gst::videoCdUri(mapped->target, track.number), mediaPlayer,
                        realPlayer, kProbeMediaPlayer, &progress))
                tracks.append(track.number - 1);
            letEventsRun();
        }
        return tracks;
    }
    const QDir mpegav(root + QStringLiteral("/MPEGAV"));
    if (root.isEmpty() || !mpegav.exists())
        return tracks;
    const qsizetype files = mpegav.entryList(QDir::Files).size();
    for (qint32 k = 1; k <= files && k <= 99; ++k) {
        const QString name = QStringLiteral("AVSEQ%1.DAT").arg(k, 2, 10, QLatin1Char('0'));
        const QString path = mpegav.filePath(name);
        if (QFileInfo::exists(path) && TryOpen(playlist::kFileScheme + path, mediaPlayer,
                                               realPlayer, kProbeMediaPlayer, &progress))
            tracks.append(k);
        letEventsRun();
    }
    return tracks;
}

QString typesInUse(const QString &types, const QString &builtin)
{
    return types.isEmpty() ? builtin : types;
}

// Replaces every folder of the table by the media files below it. A folder
// without any stays, so that it is listed as failed.
playlist::LocationTable expandFolders(const playlist::LocationTable &table)
{
    playlist::LocationTable expanded;
    for (const auto &entry : table) {
        const qint32 kind = playlist::MediaKindOf(entry.location);
        const QString path = core::localFileOf(entry.location);
        if ((kind != playlist::kKindFolder && kind != playlist::kKindUnknown) || path.isEmpty() ||
            !QFileInfo(path).isDir()) {
            expanded.append(entry);
            continue;
        }
        using namespace core::modMain;
        const QStringList files =
            MediaFilesBelow(path, typesInUse(WmpFileTypes, core::kBuiltinWmpFileTypes),
                            typesInUse(RealFileTypes, core::kBuiltinRealFileTypes));
        if (files.isEmpty())
            expanded.append(entry);
        for (const QString &file : files)
            expanded.append({playlist::kFileScheme + file, playlist::FileNamePart(file)});
    }
    return expanded;
}

// The media type a location gets: the engine that opened it, 0 for none.
qint32 probeLocation(const QString &location, qint32 kind, MediaPlayer &mediaPlayer,
                     RealPlayer &realPlayer, ProgressSink &progress, QList<qint32> *tracks)
{
    const bool tryOther = core::modMain::TryOtherEngine;
    const auto opens = [&](qint32 engine) {
        return TryOpen(location, mediaPlayer, realPlayer, engine, &progress);
    };
    switch (kind) {
    case playlist::kKindWmp:
        if (opens(kProbeMediaPlayer))
            return playlist::kMediaWmp;
        return tryOther && opens(kProbeRealPlayer) ? playlist::kMediaReal : playlist::kMediaNone;
    case playlist::kKindReal:
        if (opens(kProbeRealPlayer))
            return playlist::kMediaReal;
        return tryOther && opens(kProbeMediaPlayer) ? playlist::kMediaWmp : playlist::kMediaNone;
    case playlist::kKindAudioCd:
        return opens(kProbeAudioCd) ? playlist::kMediaAudioCd : playlist::kMediaNone;
    case playlist::kKindVideoCd:
        *tracks = videoCdTracks(driveOf(location), mediaPlayer, realPlayer, progress);
        return tracks->isEmpty() ? playlist::kMediaNone : playlist::kMediaVideoCd;
    default:
        return playlist::kMediaNone;
    }
}

// The wall-clock time rides along so that a watcher outside the process
// can set the walk against the moment it launched the program.
void reportWalk(const QElapsedTimer &clock, qint32 locations, int rows, qsizetype failed)
{
    if (!lcAdding().isInfoEnabled())
        return;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    qCInfo(lcAdding).nospace() << "walked " << locations << " locations in "
                               << qUtf8Printable(
                                      QString::number(double(clock.nsecsElapsed()) / 1e6, 'f', 1))
                               << " ms, " << failed << " failed, the list holds " << rows
                               << " items; done at "
                               << qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Why a location that no engine took failed, for the log.
QString probeFailure(qint32 kind, const ProgressSink &progress)
{
    if (progress.SkipRequested)
        return QStringLiteral("skipped while it was being opened");
    switch (kind) {
    case playlist::kKindWmp:
    case playlist::kKindReal:
        return QStringLiteral("no engine opened it");
    case playlist::kKindAudioCd:
        return QStringLiteral("no audio CD could be opened in the drive");
    case playlist::kKindVideoCd:
        return QStringLiteral("no Video CD track was found in the drive");
    case playlist::kKindDriveRoot:
        return QStringLiteral("a drive, not a file");
    case playlist::kKindFolder:
        return QStringLiteral("a folder without media files");
    default:
        return QStringLiteral("no engine plays its file type");
    }
}

void noteFailure(ProgressSink &progress, QStringList &failed, const QString &location,
                 const QString &reason)
{
    qCWarning(lcAdding).noquote() << "could not add" << location << "-" << reason;
    progress.Show_Status(kKeepLine, kKeepLine, statusText("mesFailed"), -1, -1, 1, 1);
    failed.append(location);
}

void showFailures(AddingWindow *window, const QStringList &failed)
{
    if (!window || failed.isEmpty())
        return;
    const std::unique_ptr<FailureList> log = window->loadErrorLog();
    if (!log)
        return;
    log->clearItems();
    for (qsizetype i = 0; i < failed.size(); ++i)
        log->addItem(QStringLiteral("err") + QString::number(i), failed.at(i));
    log->showModal();
}

} // namespace

namespace {
bool s_adding = false;
QStringList s_waitingLists;

bool addMediaOnce(const QString &locations, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                  playlist::lstPlayList &view, playback::SeekBar *silSeek, AddingWindow *window);
} // namespace

bool AddingInProgress()
{
    return s_adding;
}

bool AddMedia(const QString &locations, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
              playlist::lstPlayList &view, playback::SeekBar *silSeek, AddingWindow *window)
{
    // Adding lets events run, so a drop or a second instance's list can
    // arrive in the middle of a walk. Starting a second walk there would
    // reset the engines under the probe of the first; the list waits for
    // the walk to end instead.
    if (s_adding) {
        s_waitingLists.append(locations);
        return false;
    }
    s_adding = true;
    const core::BusyScope busy;
    bool added = addMediaOnce(locations, mediaPlayer, realPlayer, view, silSeek, window);
    while (!s_waitingLists.isEmpty() && !core::busyWorkCancelled())
        added = addMediaOnce(s_waitingLists.takeFirst(), mediaPlayer, realPlayer, view, silSeek,
                             window) ||
                added;
    // Closing the window ended the walk: what waited goes with it.
    s_waitingLists.clear();
    s_adding = false;
    return added;
}

namespace {

bool addMediaOnce(const QString &locations, MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                  playlist::lstPlayList &view, playback::SeekBar *silSeek, AddingWindow *window)
{
    QElapsedTimer clock;
    clock.start();
    playback::ResetEngines(mediaPlayer, realPlayer, silSeek, true);
    SetBusyState(true, silSeek, mediaPlayer, realPlayer, view, window);
    std::unique_ptr<ProgressSink> dialog = window ? window->loadStatusDialog() : nullptr;
    NoProgress noProgress;
    ProgressSink &progress = dialog ? *dialog : noProgress;
    const QString none;
    progress.Show_Status(statusText("mesFilename"), none, none, -1, -1, -1, -1);
    const int oldCount = view.count();

    const playlist::LocationTable table = expandFolders(playlist::ParseLocationList(locations));
    const auto total = qint32(table.size());
    QStringList failed;
    bool added = false;
    bool walked = true;
    for (qint32 j = 0; j < total; ++j) {
        const QString &location = table.at(j).location;
        if (progress.CancelRequested || core::busyWorkCancelled()) {
            progress.Show_Status(statusText("mesCancel"), none, none, -1, -1, 0, 0);
            walked = false;
            break;
        }
        progress.Show_Status(statusText("mesLoading"), location, statusText("mesCheck"), j + 1,
                             total, 1, 1);
        // Outside input names anything; no engine and no reader sees what
        // a player must not open.
        if (const core::Location where = core::classifyLocation(location); where.isRefused()) {
            noteFailure(progress, failed, location, where.reason);
            continue;
        }
        if (playlist::LoadPlayList(location, view)) {
            added = true;
            // Loading empties the view and with it the selection; without
            // one, AutoPlay below would play nothing from the opened list.
            if (view.count() > 0)
                view.setSelectedPosition(0);
            progress.Show_Status(statusText("mesPlaylist"), none, none, -1, -1, 0, 0);
            walked = false;
            break;
        }
        QList<qint32> tracks;
        const qint32 kind = playlist::MediaKindOf(location);
        const qint32 type =
            probeLocation(location, kind, mediaPlayer, realPlayer, progress, &tracks);
        if (type == playlist::kMediaNone) {
            // Cancel also gives up the probe under way, which says nothing
            // about the location: reporting it as one that cannot be added
            // would blame a good file for the user's choice.
            if (progress.CancelRequested || core::busyWorkCancelled())
                continue;
            noteFailure(progress, failed, location, probeFailure(kind, progress));
        }
        letEventsRun();
        const QString shown = core::modMain::UseShortPath ? table.at(j).displayName : location;
        switch (type) {
        case playlist::kMediaWmp:
            progress.Show_Status(kKeepLine, kKeepLine, statusText("mesSucceed") + statusText("wmp"),
                                 -1, -1, 1, 1);
            addMediaPlayerRecords(mediaPlayer, view, location, shown);
            break;
        case playlist::kMediaReal:
            progress.Show_Status(kKeepLine, kKeepLine, statusText("mesSucceed") + statusText("rap"),
                                 -1, -1, 1, 1);
            addRealPlayerRecords(realPlayer, view, location, shown);
            break;
        case playlist::kMediaAudioCd: {
            qint32 identity = 0;
            const auto disc = openedAudioCd(driveOf(location), &identity);
            if (!disc || disc->audioTracks() == 0) {
                noteFailure(progress, failed, location, QStringLiteral("the disc holds no sound"));
                continue;
            }
            addAudioCdRecords(view, driveOf(location), identity, *disc);
            break;
        }
        case playlist::kMediaVideoCd:
            addDiscRecords(view, type, driveOf(location), 0, tracks);
            break;
        default:
            continue;
        }
        added = true;
    }

    if (walked && added) {
        progress.Show_Status(statusText("mesComplete"), none, none, -1, -1, 0, 0);
        if (view.count() > oldCount)
            view.setSelectedPosition(oldCount);
        letEventsRun();
    }
    SetBusyState(false, silSeek, mediaPlayer, realPlayer, view, window);
    playback::ResetEngines(mediaPlayer, realPlayer, silSeek, true);
    dialog.reset();
    reportWalk(clock, total, view.count(), failed.size());
    // A window that is closing neither shows the log nor starts to play.
    if (core::busyWorkCancelled())
        return added;
    showFailures(window, failed);
    if (added && core::modMain::AutoPlay)
        playback::PlayItem(mediaPlayer, realPlayer, view, silSeek);
    return added;
}

} // namespace

// Natural order and the folder walk.

namespace {

int compareNatural(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            const qsizetype si = i;
            const qsizetype sj = j;
            while (i < a.size() && a.at(i).isDigit())
                ++i;
            while (j < b.size() && b.at(j).isDigit())
                ++j;
            // Compare the runs as numbers without converting (they may be long).
            QStringView ra = QStringView(a).mid(si, i - si);
            QStringView rb = QStringView(b).mid(sj, j - sj);
            while (ra.size() > 1 && ra.front() == u'0')
                ra = ra.mid(1);
            while (rb.size() > 1 && rb.front() == u'0')
                rb = rb.mid(1);
            if (ra.size() != rb.size())
                return ra.size() < rb.size() ? -1 : 1;
            if (const int c = ra.compare(rb); c != 0)
                return c;
            continue;
        }
        const QChar ca = a.at(i).toCaseFolded();
        const QChar cb = b.at(j).toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

QStringList extensionsOf(const QString &types)
{
    QStringList extensions;
    for (const QString &entry : types.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = entry.trimmed();
        if (trimmed.size() > 1 && trimmed.startsWith(u'.'))
            extensions.append(trimmed.mid(1).toLower());
    }
    return extensions;
}

void walkFolder(const QString &folder, const QStringList &extensions, QStringList &files, int depth)
{
    // Deeper than any real tree; a bound in case of a bind-mount loop.
    if (depth > 64)
        return;
    QDir dir(folder);
    QStringList names =
        dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                      QDir::NoSort);
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        const QFileInfo info(path);
        if (info.isDir()) {
            if (!info.isSymLink())
                walkFolder(path, extensions, files, depth + 1);
        } else if (info.isFile() && extensions.contains(info.suffix().toLower())) {
            files.append(path);
        }
    }
}

} // namespace

bool NaturalLess(const QString &a, const QString &b)
{
    return compareNatural(a, b) < 0;
}

QStringList MediaFilesBelow(const QString &folder, const QString &wmpFileTypes,
                            const QString &realFileTypes)
{
    QStringList files;
    const QStringList extensions = extensionsOf(wmpFileTypes) + extensionsOf(realFileTypes);
    QString root = folder;
    while (root.size() > 1 && root.endsWith(u'/'))
        root.chop(1);
    walkFolder(root, extensions, files, 0);
    return files;
}

} // namespace orvane::adding
