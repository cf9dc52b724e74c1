#include "playback/mpv/mpvrealplayer.h"

#include "playback/mpv/sourcefiles.h"

#include "core/location.h"

#include <QRandomGenerator>

namespace orvane::playback::mpv {

void MpvRealPlayer::setSource(const QString &location)
{
    stop();
    m_source = location;
    m_entries.clear();
    m_entry = 0;
    m_playedInRound.clear();
    m_sourceError.clear();
    m_sourceErrorCode = 0;
    m_sourceNotes.clear();
    m_singleClip = false;
    m_failed = false;
    m_clip = {};
    m_duration = -1;
    m_clipWidth = m_clipHeight = 0;
    m_startMs = 0;
    if (location.isEmpty())
        return;
    const QString local = core::localFileOf(location);
    if (!local.isEmpty() && isRealPlaylistName(local)) {
        const SourceExpansion expansion = expandPlaylistFile(local);
        m_entries = expansion.entries;
        m_sourceNotes = expansion.notes;
        if (!expansion.error.isEmpty()) {
            m_sourceError = expansion.error;
            m_sourceErrorCode = expansion.errorCode;
            m_entries.clear();
        } else if (m_entries.isEmpty()) {
            // Nothing left: the first reason why (a self-reference, say) is the error.
            const bool why = !expansion.notes.isEmpty();
            m_sourceError = why ? expansion.notes.first().text
                                : QStringLiteral("The playlist holds no media: %1").arg(location);
            m_sourceErrorCode = why ? expansion.notes.first().code : int(EmptyPlaylist);
            m_sourceNotes.clear();
        }
        // A ".ram" that turned out to be a media file is a single clip.
        m_singleClip = m_entries.size() == 1 && core::localFileOf(m_entries[0].location) == local;
    } else {
        m_entries.append(RealEntry{location, {}, {}, {}, {}});
        m_singleClip = true;
    }
    if (m_autoStart)
        play();
}

int MpvRealPlayer::nextEntryIndex()
{
    if (m_playedInRound.size() != m_entries.size())
        m_playedInRound = QList<bool>(m_entries.size(), false);
    if (m_entry >= 0 && m_entry < m_playedInRound.size())
        m_playedInRound[m_entry] = true;
    if (!m_shuffle)
        return m_entry + 1 < m_entries.size() ? m_entry + 1 : -1;
    QList<int> left;
    for (int i = 0; i < m_playedInRound.size(); ++i) {
        if (!m_playedInRound[i])
            left.append(i);
    }
    return left.isEmpty() ? -1 : left[QRandomGenerator::global()->bounded(int(left.size()))];
}

void MpvRealPlayer::onEntryEnded()
{
    m_completedInRun = true;
    post([this] { Q_EMIT clipClosed(); });
    const int next = nextEntryIndex();
    if (next >= 0) {
        openEntry(next);
        return;
    }
    m_playedInRound.clear();
    ++m_timesPlayed;
    if (m_looping || m_timesPlayed < m_loopCount) {
        openEntry(m_shuffle ? nextEntryIndex() : 0);
        return;
    }
    m_activeId = kNoId;
    m_entry = 0;
    m_startMs = 0;
    setState(Stopped);
}

void MpvRealPlayer::onEntryFailed(int engineCode, int userCode, const QString &why)
{
    const QString location = m_entries.value(m_entry).location;
    const QString detail =
        m_lastLog.isEmpty() ? why : why + QStringLiteral(" (") + m_lastLog + QLatin1Char(')');
    m_lastLog.clear();
    if (m_opened)
        post([this] { Q_EMIT clipClosed(); });
    const int next = nextEntryIndex();
    if (next >= 0) {
        raiseError(
            Informational, engineCode, EntrySkipped,
            QStringLiteral("An entry could not be played and was passed over: %1").arg(location),
            detail);
        openEntry(next);
        return;
    }
    // The end of the source: an error, unless something played before.
    const int severity = m_completedInRun ? Informational : Error;
    QString text;
    switch (userCode) {
    case NetworkFailed:
        text = QStringLiteral("The location cannot be reached: %1").arg(location);
        break;
    case UnknownFormat:
        text = QStringLiteral("The file is not a format this engine plays: %1").arg(location);
        break;
    default:
        text = QStringLiteral("The media could not be played: %1").arg(location);
        break;
    }
    raiseError(severity, engineCode, userCode, text, detail);
    m_failed = !m_completedInRun;
    m_activeId = kNoId;
    m_opened = false;
    m_entry = 0;
    m_playedInRound.clear();
    setState(Stopped);
}

bool MpvRealPlayer::isNetworkEntry() const
{
    return core::classifyLocation(m_entries.value(m_entry).location).isStream();
}

void MpvRealPlayer::nextEntry()
{
    if (m_entry + 1 >= m_entries.size())
        return;
    if (isOpen())
        openEntry(m_entry + 1);
    else
        ++m_entry;
}

void MpvRealPlayer::previousEntry()
{
    if (m_entry <= 0 || m_entries.isEmpty())
        return;
    if (isOpen())
        openEntry(m_entry - 1);
    else
        --m_entry;
}

QString MpvRealPlayer::entryTitle(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.title;
    return index >= 0 && index < m_entries.size() ? m_entries[index].title : QString();
}

QString MpvRealPlayer::entryAuthor(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.author;
    return index >= 0 && index < m_entries.size() ? m_entries[index].author : QString();
}

QString MpvRealPlayer::entryCopyright(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.copyright;
    return index >= 0 && index < m_entries.size() ? m_entries[index].copyright : QString();
}

QString MpvRealPlayer::entryAbstract(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.comment;
    return index >= 0 && index < m_entries.size() ? m_entries[index].abstract : QString();
}

} // namespace orvane::playback::mpv
