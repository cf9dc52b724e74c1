#pragma once

#include "tests/support/qtprint.h"

#include "fakeengines.h"
#include "tests/core/fakemessagebox.h"

#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/session.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace orvane::test {

// Fresh process-wide playback state, the English texts and a playlist view.
inline void resetPlaybackState()
{
    using namespace playback;
    core::modMain::LanguageFile =
        QStringLiteral(ORVANE_SOURCE_DIR) + QStringLiteral("/resources/Language/Default.ovs");
    core::modMain::ShowErrors = true;
    core::modMain::ProcessingEnabled = true;
    core::modMain::QuitProcessing = false;
    core::modMain::PendingCommand.clear();
    state::LoadedMediaType = 0;
    state::LoadedSource.clear();
    state::LoadedEntry = 0;
    state::RealStatus = 0;
    state::IgnoreError = false;
    playlist::ResetPlayList();
    QLocale::setDefault(QLocale::c());
}

// Appends a record and its view item; returns the view position.
inline int addItem(playlist::PlayListModel &view, const playlist::PlayListItem &item)
{
    const int index = playlist::NextRecordIndex();
    playlist::EnsureRecord(index) = item;
    playlist::ViewItem v;
    v.key = playlist::KeyOfIndex(index);
    v.text = item.TITLE;
    v.checked = item.DOPLAY != 0;
    view.insertItem(view.count(), v);
    return view.count() - 1;
}

// A file that exists (the player passes over items whose file is gone);
// the fake engines never read it.
inline QString mediaFile(const QString &name)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    return path;
}

inline playlist::PlayListItem fileItem(const QString &location, bool doPlay = true, qint32 type = 1)
{
    playlist::PlayListItem item;
    item.MEDIATYPE = type;
    item.DOPLAY = doPlay ? playlist::kTrue : playlist::kFalse;
    item.DOLOOP = 1;
    item.FILENAME = location;
    item.TITLE = location;
    return item;
}

inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Lets every queued report of the fakes arrive.
inline void settle()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

class FakeControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPlaybackState();
        session.connectEngines();
    }

    FakeMediaPlayer mp;
    FakeRealPlayer rp;
    playlist::PlayListModel view;
    FakeSeekBar seek;
    FakeStatusLine status;
    FakeWindow window;
    FakeMessageBox box;
    playback::PlaybackSession session{mp, rp, view, &seek, &status, &window};
};

} // namespace orvane::test
