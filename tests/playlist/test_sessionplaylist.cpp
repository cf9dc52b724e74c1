// The playlist kept from one run to the next beside setting.ini: what comes
// back, when nothing does, and that a failed save never costs the last
// good list.
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "playlist/sessionplaylist.h"

#include "core/atomicfile.h"
#include "core/messagebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::playlist;

namespace {

class CountingMessageBox final : public orvane::core::MessageBoxService
{
public:
    orvane::core::MessageResult show(const QString &, const QString &, orvane::core::MessageIcon,
                                     orvane::core::MessageButtons) override
    {
        ++shown;
        return orvane::core::MessageResult::Ok;
    }
    void beep() override {}
    int shown = 0;
};

class SessionPlayList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("my settings")));
        ResetPlayList();
        PlayListFile = QStringLiteral("/home/a/evening.ovl");
        orvane::core::setMessageBoxService(&m_box);
    }
    void TearDown() override
    {
        orvane::core::setMessageBoxService(nullptr);
        orvane::core::testhooks::setRenameFunction({});
        ResetPlayList();
        PlayListFile.clear();
    }

    void setIni(const QByteArray &text)
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    void show(const QStringList &titles)
    {
        m_model.clear();
        ResetPlayList();
        for (int i = 0; i < titles.size(); ++i) {
            PlayListItem &item = EnsureRecord(i);
            item.MEDIATYPE = kMediaWmp;
            item.DOPLAY = i % 2 ? kFalse : kTrue;
            item.DOLOOP = 1 + i;
            item.TITLE = titles[i];
            item.FILENAME = QStringLiteral("file:///music/") + titles[i] + u".mp3";
            m_model.insertItem(i, {KeyOfIndex(i), item.TITLE, {}, item.FILENAME, i % 2 == 0});
        }
    }
    QStringList titles() const
    {
        QStringList out;
        for (int i = 0; i < m_model.count(); ++i)
            out << m_model.item(i).text;
        return out;
    }
    QByteArray saved() const
    {
        QFile f(SessionPlayListPath(m_ini));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    // A folder name with a blank, as a user's home may have.
    QString m_ini = m_dir.filePath(QStringLiteral("my settings/setting.ini"));
    PlayListModel m_model;
    CountingMessageBox m_box;
};

} // namespace

TEST_F(SessionPlayList, TheListComesBackWithEveryFieldAndNamesNoPlaylistFile)
{
    EXPECT_EQ(QFileInfo(SessionPlayListPath(m_ini)).absolutePath(),
              QFileInfo(m_ini).absolutePath());
    show({QStringLiteral("one"), QStringLiteral("two, with a comma"), QStringLiteral("三")});
    ASSERT_TRUE(SaveSessionPlayList(m_model, m_ini)) << "on by default, no setting.ini";
    EXPECT_EQ(PlayListFile, QStringLiteral("/home/a/evening.ovl")) << "saving names no file";

    m_model.clear();
    ResetPlayList();
    PlayListFile.clear();
    ASSERT_TRUE(RestoreSessionPlayList(m_model, m_ini));
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("one"), QStringLiteral("two, with a comma"),
                                     QStringLiteral("三")}));
    EXPECT_FALSE(m_model.item(1).checked);
    EXPECT_EQ(PlayList.at(IndexFromKey(nullptr, m_model.key(2))).DOLOOP, 3);
    EXPECT_TRUE(PlayListFile.isEmpty()) << "Save still asks where to save";
    EXPECT_EQ(m_box.shown, 0);
}

TEST_F(SessionPlayList, NothingIsKeptOfAnEmptyListOrWithTheSettingOff)
{
    show({QStringLiteral("one")});
    ASSERT_TRUE(SaveSessionPlayList(m_model, m_ini));
    m_model.clear();
    EXPECT_TRUE(SaveSessionPlayList(m_model, m_ini));
    EXPECT_FALSE(QFile::exists(SessionPlayListPath(m_ini))) << "an emptied list stays empty";

    show({QStringLiteral("one")});
    ASSERT_TRUE(SaveSessionPlayList(m_model, m_ini));
    setIni("[General Setting]\r\nRestore Playlist=false\r\n");
    EXPECT_FALSE(RestorePlaylistOn(m_ini));
    show({QStringLiteral("other")});
    EXPECT_FALSE(RestoreSessionPlayList(m_model, m_ini));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("other")}) << "the view is left alone";
    EXPECT_TRUE(SaveSessionPlayList(m_model, m_ini));
    EXPECT_FALSE(QFile::exists(SessionPlayListPath(m_ini))) << "an earlier run's list goes too";

    setIni("[General Setting]\r\nRestore Playlist=True\r\n");
    EXPECT_TRUE(RestorePlaylistOn(m_ini));
}

TEST_F(SessionPlayList, AMissingOrDamagedFileStartsEmptyWithoutAWord)
{
    EXPECT_FALSE(RestoreSessionPlayList(m_model, m_ini));
    const QByteArray damaged[] = {QByteArray(), QByteArray("\xff\xfe garbage\r\n", 12),
                                  QByteArray("Orvane Play List File Version 9.0\r\nx,,,,y\r\n")};
    for (const QByteArray &bytes : damaged) {
        QFile f(SessionPlayListPath(m_ini));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        EXPECT_FALSE(RestoreSessionPlayList(m_model, m_ini)) << bytes.constData();
        EXPECT_TRUE(m_model.isEmpty());
    }
    EXPECT_EQ(m_box.shown, 0);
}

TEST_F(SessionPlayList, AFailedSaveKeepsTheLastGoodList)
{
    show({QStringLiteral("good")});
    ASSERT_TRUE(SaveSessionPlayList(m_model, m_ini));
    const QByteArray good = saved();
    show({QStringLiteral("newer"), QStringLiteral("newest")});
    // The disk fills (or the program dies) before the new file is in place.
    orvane::core::testhooks::setRenameFunction(
        [](const QString &, const QString &) { return false; });
    EXPECT_FALSE(SaveSessionPlayList(m_model, m_ini));
    orvane::core::testhooks::setRenameFunction({});
    EXPECT_EQ(saved(), good);
    EXPECT_EQ(QDir(QFileInfo(m_ini).absolutePath()).entryList(QDir::Files).size(), 1)
        << "no temporary file left";
    EXPECT_EQ(PlayListFile, QStringLiteral("/home/a/evening.ovl"));
}
