// Adding through the location gate, with engines that open whatever they
// are given: what reaches them is exactly what adding let through.
#include "tests/playback/controller/fakeengines.h"
#include "tests/support/qtprint.h"

#include "adding/addmedia.h"
#include "core/modmain.h"
#include "playback/controller.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

// The error-log dialog as a recorder; no progress dialog.
class FailureRecorder final : public adding::FailureList
{
public:
    explicit FailureRecorder(QStringList &shown)
        : m_shown(shown)
    {}
    void clearItems() override { m_items.clear(); }
    void addItem(const QString &, const QString &text) override { m_items.append(text); }
    void showModal() override { m_shown = m_items; }

private:
    QStringList m_items;
    QStringList &m_shown;
};

class LogOnlyWindow final : public adding::AddingWindow
{
public:
    QStringList failed;

    std::unique_ptr<adding::ProgressSink> loadStatusDialog() override { return nullptr; }
    std::unique_ptr<adding::FailureList> loadErrorLog() override
    {
        return std::make_unique<FailureRecorder>(failed);
    }
    void setEngineViewVisible(adding::EngineView, bool) override {}
    QRect engineViewGeometry(adding::EngineView) const override { return {}; }
    void setEngineViewGeometry(adding::EngineView, const QRect &) override {}
    void setPlayListViewVisible(bool) override {}
};

QStringList s_warnings;

void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg)
        s_warnings.append(text);
}

class AddingGate : public ::testing::Test
{
protected:
    AddingGate()
    {
        using namespace core::modMain;
        LanguageFile = QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
        TryOtherEngine = false;
        AutoPlay = false;
        WmpFileTypes.clear();
        RealFileTypes.clear();
        playlist::ResetPlayList();
        s_warnings.clear();
        m_previousHandler = qInstallMessageHandler(recordWarning);
    }
    ~AddingGate() override { qInstallMessageHandler(m_previousHandler); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = temp.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }

    FakeMediaPlayer mediaPlayer;
    FakeRealPlayer realPlayer;
    playlist::PlayListModel view;
    LogOnlyWindow window;
    QTemporaryDir temp;

private:
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(AddingGate, PlaylistNamingDevicesAndDescriptorsAddsOnlyItsMedia)
{
    const QString first = write(QStringLiteral("a.mp3"), "x");
    const QString second = write(QStringLiteral("Artist/Album/02.mp3"), "x");
    const QStringList hostile{
        QStringLiteral("v4l2:///dev/video0"),
        QStringLiteral("fd://0"),
        QStringLiteral("udp://@239.0.0.1:1234/live.mpg"),
        QStringLiteral("file:///dev/video0.mpg"),
    };
    const QString list = write(QStringLiteral("list.m3u"), "#EXTM3U\n"
                                                           "a.mp3\n" +
                                                               hostile.join(u'\n').toUtf8() +
                                                               "\n"
                                                               "Artist/Album/02.mp3\n");

    ASSERT_TRUE(adding::AddMedia(list, mediaPlayer, realPlayer, view, nullptr, &window));

    const QStringList good{QStringLiteral("file://") + first, QStringLiteral("file://") + second};
    EXPECT_EQ(mediaPlayer.loads, good) << "nothing else was handed to an engine";
    EXPECT_TRUE(realPlayer.sources.isEmpty());
    QStringList added;
    for (int position = 0; position < view.count(); ++position) {
        const QString file = playlist::PlayList.value(view.key(position).mid(3).toInt()).FILENAME;
        if (!added.contains(file))
            added.append(file);
    }
    EXPECT_EQ(added, good);
    EXPECT_EQ(window.failed, hostile);
    for (const QString &location : hostile) {
        const bool logged = std::any_of(s_warnings.cbegin(), s_warnings.cend(), [&](auto &w) {
            return w.contains(location) && w.size() > location.size() + 20;
        });
        EXPECT_TRUE(logged) << location.toStdString() << " is logged with its reason";
    }
}

// The same gate holds for a hand-over or a drop, which arrive as lists.
TEST_F(AddingGate, HandedOverListsAreGatedToo)
{
    const QString good = write(QStringLiteral("b.mp3"), "x");
    const QString list = QStringLiteral("v4l2:///dev/video0.avi|") + good +
                         QStringLiteral("|file:///proc/self/fd/0.mp3");

    ASSERT_TRUE(adding::AddMedia(list, mediaPlayer, realPlayer, view, nullptr, &window));

    EXPECT_EQ(mediaPlayer.loads, QStringList{QStringLiteral("file://") + good});
    EXPECT_EQ(window.failed, (QStringList{QStringLiteral("v4l2:///dev/video0.avi"),
                                          QStringLiteral("file:///proc/self/fd/0.mp3")}));
}

} // namespace
} // namespace orvane::test
