#pragma once

#include "tests/support/qtprint.h"

#include "adding/addmedia.h"
#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/errorhandlers.h"
#include "playback/gst/gstmediaplayer.h"
#include "playback/mpv/mpvrealplayer.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

namespace orvane::test {

struct StatusCall {
    QString line1, line2, line3;
    qint32 current = 0, total = 0;
};

// The progress dialog as a recorder; onShow may press its buttons.
class RecordingProgress final : public adding::ProgressSink
{
public:
    explicit RecordingProgress(QList<StatusCall> &calls,
                               std::function<void(RecordingProgress &, const StatusCall &)> onShow)
        : m_calls(calls)
        , m_onShow(std::move(onShow))
    {}
    void Show_Status(const QString &l1, const QString &l2, const QString &l3, qint32 current,
                     qint32 total, qint16, qint16) override
    {
        m_calls.append({l1, l2, l3, current, total});
        if (m_onShow)
            m_onShow(*this, m_calls.last());
    }

private:
    QList<StatusCall> &m_calls;
    std::function<void(RecordingProgress &, const StatusCall &)> m_onShow;
};

class RecordingErrorLog final : public adding::FailureList
{
public:
    explicit RecordingErrorLog(QList<std::pair<QString, QString>> &shown)
        : m_shown(shown)
    {}
    void clearItems() override { m_items.clear(); }
    void addItem(const QString &key, const QString &text) override { m_items.append({key, text}); }
    void showModal() override { m_shown = m_items; }

private:
    QList<std::pair<QString, QString>> m_items;
    QList<std::pair<QString, QString>> &m_shown;
};

// The main window as adding sees it.
class FakeWindow final : public adding::AddingWindow
{
public:
    std::unique_ptr<adding::ProgressSink> loadStatusDialog() override
    {
        return std::make_unique<RecordingProgress>(statusCalls, onShow);
    }
    std::unique_ptr<adding::FailureList> loadErrorLog() override
    {
        ++errorLogsShown;
        return std::make_unique<RecordingErrorLog>(errorLog);
    }
    void setEngineViewVisible(adding::EngineView view, bool visible) override
    {
        engineVisible[int(view)] = visible;
    }
    QRect engineViewGeometry(adding::EngineView view) const override { return geometry[int(view)]; }
    void setEngineViewGeometry(adding::EngineView view, const QRect &rect) override
    {
        geometry[int(view)] = rect;
    }
    void setPlayListViewVisible(bool visible) override { viewVisible = visible; }

    QList<StatusCall> statusCalls;
    std::function<void(RecordingProgress &, const StatusCall &)> onShow;
    QList<std::pair<QString, QString>> errorLog;
    int errorLogsShown = 0;
    bool engineVisible[2] = {true, true};
    QRect geometry[2] = {QRect(0, 0, 320, 240), QRect(5, 5, 100, 50)};
    bool viewVisible = true;
};

inline playback::mpv::MpvOptions silentMpv()
{
    playback::mpv::MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.videoOutput = QStringLiteral("null");
    return options;
}

// Both real engines on silent outputs, the real playlist model, the English
// language file and the options reset for every test.
class AddingTest : public ::testing::Test
{
protected:
    AddingTest()
        : mediaPlayer(playback::gst::GstMediaPlayerOptions{QStringLiteral("fakesink sync=false"),
                                                           QStringLiteral("fakesink sync=false")})
        , realPlayer(nullptr, silentMpv())
    {
        using namespace core::modMain;
        LanguageFile = QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
        TryOtherEngine = false;
        AutoPlay = false;
        UseShortPath = false;
        ShowErrors = true;
        WmpFileTypes.clear();
        RealFileTypes.clear();
        playlist::ResetPlayList();
        playlist::PlayListFile.clear();
        playback::state::LoadedMediaType = 0;
        playback::state::LoadedSource.clear();
        playback::state::LoadedEntry = 0;
        adding::addingOptions().engineWaitMs = 20000;
        playback::connectErrorHandlers(mediaPlayer, realPlayer);
    }
    ~AddingTest() override
    {
        playback::ResetEngines(mediaPlayer, realPlayer, nullptr, true);
        QCoreApplication::processEvents();
    }

    bool add(const QString &list)
    {
        return adding::AddMedia(list, mediaPlayer, realPlayer, view, nullptr, &window);
    }
    QString record(int position, QString playlist::PlayListItem::*field) const
    {
        const int index = view.key(position).mid(3).toInt();
        return playlist::PlayList.value(index).*field;
    }
    const playlist::PlayListItem recordAt(int position) const
    {
        return playlist::PlayList.value(view.key(position).mid(3).toInt());
    }

    playback::gst::GstMediaPlayer mediaPlayer;
    playback::mpv::MpvRealPlayer realPlayer;
    playlist::PlayListModel view;
    FakeWindow window;
    QTemporaryDir temp;
};

inline QString fileLocation(const QString &path)
{
    return QStringLiteral("file://") + path;
}

} // namespace orvane::test
