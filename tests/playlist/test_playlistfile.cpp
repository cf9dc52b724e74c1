// The ".ovl" playlist file: what is written, what is read back, and that
// neither a bad line nor a failed write costs data.
#include "playlist/ovlformat.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include "core/atomicfile.h"
#include "core/messagebox.h"
#include "core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvane::playlist;

namespace {

const QByteArray kHeader13 = "Orvane Play List File Version 1.3\r\n";

class RecordingMessageBox final : public orvane::core::MessageBoxService
{
public:
    orvane::core::MessageResult show(const QString &text, const QString &,
                                     orvane::core::MessageIcon,
                                     orvane::core::MessageButtons) override
    {
        texts << text;
        return orvane::core::MessageResult::Ok;
    }
    void beep() override {}
    QStringList texts;
};

PlayListItem record(const QString &title)
{
    PlayListItem item;
    item.MEDIATYPE = kMediaWmp;
    item.DOPLAY = kTrue;
    item.DOLOOP = 1;
    item.FILENAME =
        QStringLiteral("file:///music/") + QString(title).replace(u'\n', u'_') + u".mp3";
    item.TITLE = title;
    return item;
}

class PlayListFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetPlayList();
        PlayListFile.clear();
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Puts records into the store and the view, in this order.
    void show(const QList<PlayListItem> &records)
    {
        model.clear();
        ResetPlayList();
        for (int i = 0; i < records.size(); ++i) {
            EnsureRecord(i) = records[i];
            model.insertItem(i, {KeyOfIndex(i), records[i].TITLE, records[i].AUTHOR,
                                 records[i].FILENAME, records[i].DOPLAY != kFalse});
        }
    }

    QList<PlayListItem> loadedRecords() const
    {
        QList<PlayListItem> result;
        for (int i = 0; i < model.count(); ++i)
            result << PlayList.value(IndexFromKeyText(model.key(i)));
        return result;
    }

    static int IndexFromKeyText(const QString &key) { return key.mid(3).toInt(); }

    bool write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    QByteArray read(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList keys() const
    {
        QStringList result;
        for (int i = 0; i < model.count(); ++i)
            result << model.key(i);
        return result;
    }

    QTemporaryDir dir;
    PlayListModel model;
};

} // namespace

TEST_F(PlayListFileTest, WritesTheFieldsEscapedWithCrLf)
{
    PlayListItem item = record(QStringLiteral("a,b"));
    item.AUTHOR = QStringLiteral("line1\r\nline2");
    item.NUMBER = -7;
    item.DOPLAY = kFalse;
    item.DOLOOP = 3;
    item.DRIVE = QStringLiteral("D:");
    item.TRACK = 12;
    show({item});
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("a.ovl")), false));
    EXPECT_EQ(read(QStringLiteral("a.ovl")),
              kHeader13 + "a\bb,line1\tline2,,,file:///music/a\bb.mp3,-7,1,False,3,D:,12\r\n");
    EXPECT_EQ(PlayListFile, path(QStringLiteral("a.ovl")));
}

TEST_F(PlayListFileTest, RoundTripKeepsEveryField)
{
    PlayListItem tricky = record(QStringLiteral("a,b"));
    tricky.AUTHOR = QStringLiteral("x\r\ny,z");
    tricky.COPYRIGHT = QStringLiteral("(c) 2024, \u00e9diteur");
    tricky.DESCRIPTHION = QStringLiteral("lone\rcarriage return");
    tricky.NUMBER = 2;
    tricky.MEDIATYPE = kMediaAudioCd;
    tricky.DRIVE = QStringLiteral("D:");
    tricky.TRACK = 3;
    PlayListItem skipped = record(QStringLiteral("Stra\u00dfe \U0001F3B5"));
    skipped.DOPLAY = kFalse;
    const QList<PlayListItem> records{tricky, skipped, record(QStringLiteral("ﾃｩ halfwidth"))};
    show(records);
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("r.ovl")), true));
    model.clear();
    ResetPlayList();
    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("r.ovl")), model));
    EXPECT_EQ(loadedRecords(), records);
    EXPECT_EQ(keys(), (QStringList{QStringLiteral("num0"), QStringLiteral("num1"),
                                   QStringLiteral("num2")}));
    EXPECT_FALSE(model.item(1).checked);
    EXPECT_EQ(model.item(0).subItem2, tricky.FILENAME) << "the full location, never the short one";
}

TEST_F(PlayListFileTest, LineBreaksThatAreNotCrLfComeBackAsCrLf)
{
    // A TAB is what a CR LF is written as; a lone LF would end the line.
    show({record(QStringLiteral("tab\there")), record(QStringLiteral("lf\nhere"))});
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("t.ovl")), false));
    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("t.ovl")), model));
    ASSERT_EQ(model.count(), 2);
    EXPECT_EQ(model.item(0).text, QStringLiteral("tab\r\nhere"));
    EXPECT_EQ(model.item(1).text, QStringLiteral("lf\r\nhere"));
}

TEST_F(PlayListFileTest, EncodingFollowsTheCharacters)
{
    struct Case {
        QString title;
        QByteArray expectedTitleBytes;
    };
    const Case cases[] = {
        {QStringLiteral("plain"), "plain"},
        {QStringLiteral("日本語"), QByteArray("\x93\xfa\x96\x7b\x8c\xea")}, // CP932
        {QStringLiteral("Caf\u00e9"), QByteArray("Caf\xc3\xa9")},           // UTF-8
        {QStringLiteral("ﾃｩ"), QByteArray("\xef\xbe\x83\xef\xbd\xa9")}, // CP932 C3 A9 reads as é
    };
    for (const Case &c : cases) {
        show({record(c.title)});
        ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("e.ovl")), false));
        EXPECT_TRUE(read(QStringLiteral("e.ovl")).contains(c.expectedTitleBytes))
            << c.title.toStdString();
        ASSERT_TRUE(LoadPlayList(path(QStringLiteral("e.ovl")), model));
        EXPECT_EQ(model.item(0).text, c.title);
    }
}

TEST_F(PlayListFileTest, CommentBlockIsTheCp932OfTheLines)
{
    show({record(QStringLiteral("x"))});
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("c.ovl")), true));
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                          QStringLiteral("-t"), QStringLiteral("CP932")});
    ASSERT_TRUE(iconv.waitForStarted(10000));
    iconv.write(
        (ovl::commentLines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished(10000));
    const QByteArray block = iconv.readAllStandardOutput();
    ASSERT_EQ(block.count("\r\n"), 22);
    EXPECT_TRUE(block.contains("\x81\x40\x81\x40\x81\x40"
                               "1, Windows Media Player"));
    EXPECT_EQ(read(QStringLiteral("c.ovl")).mid(kHeader13.size(), block.size()), block);
}

TEST_F(PlayListFileTest, Cp932FileOfTheWindowsProgramLoads)
{
    const QString text =
        QString::fromUtf8(kHeader13) + ovl::commentLines().join(QStringLiteral("\r\n")) +
        QStringLiteral("\r\n") +
        QStringLiteral("春の歌,山田太郎,著作権表示,説明文,file://C:/音楽/春.mp3,0,1,"
                       "True,1,,0\r\n");
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                          QStringLiteral("-t"), QStringLiteral("CP932")});
    ASSERT_TRUE(iconv.waitForStarted(10000));
    iconv.write(text.toUtf8());
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished(10000));
    ASSERT_TRUE(write(QStringLiteral("w.ovl"), iconv.readAllStandardOutput()));

    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("w.ovl")), model));
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(PlayList[0].TITLE, QStringLiteral("春の歌"));
    EXPECT_EQ(PlayList[0].AUTHOR, QStringLiteral("山田太郎"));
    EXPECT_EQ(PlayList[0].DESCRIPTHION, QStringLiteral("説明文"));
    EXPECT_EQ(PlayList[0].FILENAME, QStringLiteral("file://C:/音楽/春.mp3"));
}

TEST_F(PlayListFileTest, VersionsAndHeaders)
{
    struct Case {
        const char *bytes;
        bool loads;
        int items;
        const char *drive; // of the first item
    };
    const Case cases[] = {
        {"Orvane Play List File Version 1.3\r\n", true, 0, ""},
        {"Orvane Play List File Version 1.3\r\nT,A,C,D,f,0,1,True,1,D:,2\r\n", true, 1, "D:"},
        {"Orvane Play List File Version 1.30\nT,A,C,D,f,0,1,True,1,D:,2\n", true, 1, "D:"},
        {"Orvane Play List File Version 1.0\r\nT,A,C,D,f,0,1,True,1\r\n", true, 1, ""},
        {"Orvane Play List File Version 1.0\r\nT,A,C,D,f,0,1,True,1,D:,2\r\n", true, 1, ""},
        {"Orvane Play List File Version \r\nT,A,C,D,f,0,1,True,1\r\n", true, 1, ""},
        {"Orvane Play List File Version 1.4\r\nT,A,C,D,f,0,1,True,1,D:,2\r\n", false, 0, ""},
        {"Orvane Play List File Version 1.3", true, 0, ""},
        {"Orvane Play List File Version1.3\r\n", false, 0, ""},
        {"orvane play list file version 1.3\r\n", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        show({record(QStringLiteral("old"))});
        PlayListFile = QStringLiteral("/old.ovl");
        ASSERT_TRUE(write(QStringLiteral("v.ovl"), c.bytes));
        EXPECT_EQ(LoadPlayList(path(QStringLiteral("v.ovl")), model), c.loads);
        if (!c.loads) {
            EXPECT_EQ(model.count(), 1) << "untouched";
            EXPECT_EQ(PlayList[0].TITLE, QStringLiteral("old"));
            EXPECT_EQ(PlayListFile, QStringLiteral("/old.ovl"));
            continue;
        }
        EXPECT_EQ(PlayListFile, path(QStringLiteral("v.ovl")));
        ASSERT_EQ(model.count(), c.items);
        if (c.items > 0) {
            EXPECT_EQ(PlayList[0].DRIVE, QString::fromLatin1(c.drive));
        }
    }
}

TEST_F(PlayListFileTest, OnlyExistingOvlFilesAreRead)
{
    ASSERT_TRUE(write(QStringLiteral("u.OVL"), kHeader13));
    ASSERT_TRUE(write(QStringLiteral("q.ovl"), kHeader13 + "T,,,,f,0,1,True,1,,0\r\n"));
    QDir(dir.path()).mkdir(QStringLiteral("d.ovl"));
    EXPECT_FALSE(LoadPlayList(path(QStringLiteral("u.OVL")), model)) << "exact extension";
    EXPECT_FALSE(LoadPlayList(path(QStringLiteral("missing.ovl")), model));
    EXPECT_FALSE(LoadPlayList(path(QStringLiteral("d.ovl")), model));
    EXPECT_TRUE(LoadPlayList(
        QStringLiteral("\"file://") + path(QStringLiteral("q.ovl")) + QStringLiteral("\""), model));
    EXPECT_EQ(PlayListFile, path(QStringLiteral("q.ovl"))) << "the normalised path";
}

TEST_F(PlayListFileTest, BadLinesAreSkippedWithoutGapsInTheKeys)
{
    ASSERT_TRUE(write(QStringLiteral("b.ovl"), kHeader13 + "A,,,,a,0,1,True,1,,0\r\n"
                                                           ";a comment between items\r\n"
                                                           "\r\n"
                                                           "too,few,fields\r\n"
                                                           "N,,,,n,99999999999,1,True,1,,0\r\n"
                                                           "L,,,,l,0,1,True,40000,,0\r\n"
                                                           "P,,,,p,0,1,maybe,1,,0\r\n"
                                                           "B,,,,b,2.5,1.6,false,7x,,3.5\r\n"
                                                           "C,,,,c,,,-1,,,\r\n"));
    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("b.ovl")), model));
    EXPECT_EQ(keys(), (QStringList{QStringLiteral("num0"), QStringLiteral("num1"),
                                   QStringLiteral("num2")}));
    ASSERT_EQ(PlayList.size(), 3);
    EXPECT_EQ(PlayList[1].TITLE, QStringLiteral("B"));
    EXPECT_EQ(PlayList[1].NUMBER, 2) << "rounded half to even";
    EXPECT_EQ(PlayList[1].MEDIATYPE, 2);
    EXPECT_EQ(PlayList[1].DOPLAY, kFalse);
    EXPECT_EQ(PlayList[1].DOLOOP, 7) << "the leading number";
    EXPECT_EQ(PlayList[1].TRACK, 4);
    EXPECT_EQ(PlayList[2].DOPLAY, kTrue) << "a number other than 0 is true";
    EXPECT_EQ(PlayList[2].NUMBER, 0) << "no number reads as 0";
}

TEST_F(PlayListFileTest, SavedWithoutCommentsKeepsTheSameItemLines)
{
    show({record(QStringLiteral("one")), record(QStringLiteral("two"))});
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("w.ovl")), true));
    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("w.ovl")), model));
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("w2.ovl")), false));
    QList<QByteArray> with = read(QStringLiteral("w.ovl")).split('\n');
    ASSERT_EQ(with.size(), 1 + 22 + 2 + 1);
    with.remove(1, 22);
    EXPECT_EQ(with, read(QStringLiteral("w2.ovl")).split('\n'));
}

TEST_F(PlayListFileTest, SaveMessagesAndViewOrder)
{
    QString message;
    EXPECT_FALSE(SavePlayList(model, path(QStringLiteral("n.ovl")), false, &message));
    EXPECT_EQ(message, kMessageNothingFile);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("n.ovl"))));

    show({record(QStringLiteral("first")), record(QStringLiteral("second"))});
    message.clear();
    EXPECT_FALSE(SavePlayList(model, QString(), false, &message));
    EXPECT_EQ(message, kMessageNewFile);

    model.insertItem(0, {QStringLiteral("num9"), {}, {}, {}, true}); // no record behind it
    model.setSelectedPosition(1);
    ASSERT_TRUE(MoveSelectedItem(model, +1));
    message.clear();
    ASSERT_TRUE(SavePlayList(model, path(QStringLiteral("o.ovl")), false, &message));
    EXPECT_TRUE(message.isEmpty());
    const QList<QByteArray> lines = read(QStringLiteral("o.ovl")).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("second,"));
    EXPECT_TRUE(lines[2].startsWith("first,"));
}

TEST_F(PlayListFileTest, FailedWriteKeepsTheOldFile)
{
    RecordingMessageBox box;
    orvane::core::setMessageBoxService(&box);
    ASSERT_TRUE(write(QStringLiteral("k.ovl"), kHeader13 + "old,,,,o,0,1,True,1,,0\r\n"));
    PlayListFile = path(QStringLiteral("k.ovl"));
    show({record(QStringLiteral("new"))});
    PlayListFile = QStringLiteral("/elsewhere.ovl");
    orvane::core::testhooks::setRenameFunction(
        [](const QString &, const QString &) { return false; });
    EXPECT_FALSE(SavePlayList(model, path(QStringLiteral("k.ovl")), false));
    orvane::core::testhooks::setRenameFunction({});
    orvane::core::setMessageBoxService(nullptr);
    EXPECT_EQ(read(QStringLiteral("k.ovl")), kHeader13 + "old,,,,o,0,1,True,1,,0\r\n");
    EXPECT_EQ(PlayListFile, QStringLiteral("/elsewhere.ovl"));
    ASSERT_EQ(box.texts.size(), 1);
    EXPECT_TRUE(box.texts[0].contains(path(QStringLiteral("k.ovl"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

TEST_F(PlayListFileTest, LoadingKeepsRecordsAboveTheLastOneRead)
{
    show({record(QStringLiteral("a")), record(QStringLiteral("b")), record(QStringLiteral("c"))});
    ASSERT_TRUE(write(QStringLiteral("s.ovl"), kHeader13 + "x,,,,x,0,1,True,1,,0\r\n"));
    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("s.ovl")), model));
    EXPECT_EQ(model.count(), 1);
    ASSERT_EQ(PlayList.size(), 3);
    EXPECT_EQ(PlayList[0].TITLE, QStringLiteral("x"));
    EXPECT_EQ(PlayList[2].TITLE, QStringLiteral("c"));
}

TEST_F(PlayListFileTest, LargeFilesReadTheSameInEveryPart)
{
    // Large files are decoded in parts; the encoding is still chosen for
    // the whole file, also when the only CP932 byte sits near the end.
    struct Case {
        QString title;
        bool cp932;
        QByteArray tail;
        QString lastTitle;
    };
    const Case cases[] = {
        {QStringLiteral("caf\u00e9 %1"), false, {}, QStringLiteral("caf\u00e9 7999")},
        {QStringLiteral("日本 %1"), true, {}, QStringLiteral("日本 7999")},
        {QStringLiteral("plain %1"), false, "\x93\xfa,,,,x,0,1,True,1,,0\r\n",
         QStringLiteral("日")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        QString text = QString::fromLatin1(kHeader13);
        for (int i = 0; i < 8000; ++i)
            text += c.title.arg(i) + QStringLiteral(",Author,(c),Description,file:///m/a.mp3,0,1,"
                                                    "True,1,,0\r\n");
        const QByteArray bytes = c.cp932 ? orvane::core::encodeCp932(text) : text.toUtf8();
        ASSERT_GT(bytes.size(), 400 * 1024);
        ASSERT_TRUE(write(QStringLiteral("big.ovl"), bytes + c.tail));
        ASSERT_TRUE(LoadPlayList(path(QStringLiteral("big.ovl")), model));
        ASSERT_EQ(model.count(), 8000 + (c.tail.isEmpty() ? 0 : 1));
        EXPECT_EQ(model.item(2500).text, c.title.arg(2500));
        EXPECT_EQ(model.item(model.count() - 1).text, c.lastTitle);
    }
}

TEST_F(PlayListFileTest, EventsRunWhileALongFileLoads)
{
    QByteArray bytes = kHeader13;
    for (int i = 0; i < 10000; ++i)
        bytes += "T,A,,,file:///m/a.mp3,0,1,True,1,,0\r\n";
    ASSERT_TRUE(write(QStringLiteral("long.ovl"), bytes));
    int shownWhenEventRan = -1;
    bool nestedLoad = true;
    QTimer::singleShot(0, [&] {
        shownWhenEventRan = model.count();
        nestedLoad = LoadPlayList(path(QStringLiteral("long.ovl")), model);
    });
    ASSERT_TRUE(LoadPlayList(path(QStringLiteral("long.ovl")), model));
    EXPECT_GT(shownWhenEventRan, 0) << "the list grows while it loads";
    EXPECT_LT(shownWhenEventRan, 10000);
    EXPECT_FALSE(nestedLoad) << "a second load is refused while one runs";
    EXPECT_EQ(model.count(), 10000);
}
