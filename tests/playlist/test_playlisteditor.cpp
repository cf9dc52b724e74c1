// The playlist editor's rules without a window: moving lines, mixed
// values, writing edits through to the view and the rebuilt view.
#include "playlist/playlisteditor.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "tests/support/editorrecords.h"
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane::playlist;

namespace {

const QString kMixed = QStringLiteral("<mixed>");

class Editor : public ::testing::Test
{
protected:
    void SetUp() override { ResetPlayList(); }
    void TearDown() override { ResetPlayList(); }

    void fill(int n) { orvane::test::fillEditorRecords(model, n, true); }

    QStringList titles() const
    {
        QStringList result;
        for (int i = 0; i < model.count(); ++i)
            result << model.item(i).text;
        return result;
    }

    PlayListModel model;
};

// Lines by record; the records in brackets are selected.
QList<EditorLine> lines(std::initializer_list<int> records, std::initializer_list<int> selected)
{
    QList<EditorLine> result;
    for (int r : records)
        result.append({r, std::find(selected.begin(), selected.end(), r) != selected.end()});
    return result;
}

} // namespace

TEST_F(Editor, UpdateRecordKeepsTheViewItemInStep)
{
    fill(3);
    PlayListItem edited = PlayList[1];
    edited.TITLE = QStringLiteral("New");
    edited.AUTHOR = QStringLiteral("Someone");
    edited.DOPLAY = kFalse;
    UpdateRecord(model, 1, edited, 0); // a wrong position is not trusted
    EXPECT_EQ(PlayList[1], edited);
    EXPECT_EQ(model.item(1), (ViewItem{QStringLiteral("num1"), QStringLiteral("New"),
                                       QStringLiteral("Someone"), QStringLiteral("1.mp3"), false}));
    EXPECT_EQ(model.item(0).text, QStringLiteral("T0"));

    // A record whose item was deleted changes in the store alone.
    model.removeByKey(QStringLiteral("num2"));
    edited = PlayList[2];
    edited.TITLE = QStringLiteral("Gone");
    UpdateRecord(model, 2, edited);
    EXPECT_EQ(PlayList[2].TITLE, QStringLiteral("Gone"));
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("T0"), QStringLiteral("New")}));
}

TEST_F(Editor, TickingAnItemInTheViewWritesItsRecord)
{
    fill(2);
    model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(PlayList[1].DOPLAY, kFalse);
    EXPECT_FALSE(model.item(1).checked);
    EXPECT_EQ(PlayList[0].DOPLAY, kTrue);
}

TEST_F(Editor, EveryRecordIsEditableDeletedOnesToo)
{
    EXPECT_TRUE(EditableRecords().isEmpty()) << "the blank record is no item";
    fill(5);
    model.removeByKey(QStringLiteral("num1"));
    model.removeByKey(QStringLiteral("num3"));
    EXPECT_EQ(EditableRecords(), (QList<int>{0, 1, 2, 3, 4}));
    // A loaded file's first item may have no title; it is still an item.
    PlayList[0].TITLE.clear();
    EXPECT_EQ(EditableRecords().size(), 5);
}

TEST(EditorLines, UpAndDown)
{
    struct Case {
        const char *what;
        QList<EditorLine> before;
        int distance;
        bool moved;
        QList<EditorLine> after;
    };
    const Case cases[] = {
        {"nothing selected", lines({1, 2, 3}, {}), -1, false, lines({1, 2, 3}, {})},
        {"empty list", {}, 1, false, {}},
        {"first cannot go up", lines({1, 2, 3}, {1, 3}), -1, false, lines({1, 2, 3}, {1, 3})},
        {"last cannot go down", lines({1, 2, 3}, {3}), 1, false, lines({1, 2, 3}, {3})},
        {"one up", lines({1, 2, 3}, {3}), -1, true, lines({1, 3, 2}, {3})},
        {"a block up", lines({1, 2, 3, 4}, {2, 3}), -1, true, lines({2, 3, 1, 4}, {2, 3})},
        {"a block down", lines({1, 2, 3, 4}, {2, 3}), 1, true, lines({1, 4, 2, 3}, {2, 3})},
        {"apart, down", lines({1, 2, 3, 4}, {1, 3}), 1, true, lines({2, 1, 4, 3}, {1, 3})},
    };
    for (const Case &c : cases) {
        QList<EditorLine> list = c.before;
        EXPECT_EQ(MoveSelectedLines(list, c.distance), c.moved) << c.what;
        EXPECT_EQ(list, c.after) << c.what;
    }
}

TEST_F(Editor, MixedValuesAreShownAsSuch)
{
    fill(3);
    ShownFields one = FieldsOfRecords({1}, kMixed);
    EXPECT_EQ(one.mixed, 0u);
    EXPECT_EQ(one.values, PlayList[1]);

    // Same author, different everything else.
    PlayList[2].NUMBER = 4;
    PlayList[2].DOPLAY = kFalse;
    PlayList[2].DOLOOP = 0;
    PlayList[2].MEDIATYPE = kMediaReal;
    PlayList[2].DESCRIPTHION = QStringLiteral("d");
    const ShownFields two = FieldsOfRecords({1, 2}, kMixed);
    EXPECT_FALSE(two.isMixed(ShownFields::Author));
    EXPECT_FALSE(two.isMixed(ShownFields::Copyright));
    EXPECT_EQ(two.values.AUTHOR, QStringLiteral("A"));
    EXPECT_EQ(two.values.COPYRIGHT, QString());
    EXPECT_EQ(two.values.TITLE, kMixed);
    EXPECT_EQ(two.values.FILENAME, kMixed);
    EXPECT_EQ(two.values.DESCRIPTHION, kMixed);
    EXPECT_EQ(two.values.NUMBER, 0);
    EXPECT_EQ(two.values.DOPLAY, kTrue);
    EXPECT_TRUE(two.isMixed(ShownFields::DoPlay));
    EXPECT_EQ(two.values.DOLOOP, -1);
    EXPECT_EQ(two.values.MEDIATYPE, kMixedMediaType);

    // A value that differs only in the third record is still found.
    PlayList[0].AUTHOR = QStringLiteral("B");
    EXPECT_TRUE(FieldsOfRecords({1, 2, 0}, kMixed).isMixed(ShownFields::Author));
}

TEST(EditorFields, LoopCount)
{
    EXPECT_EQ(LoopCountOf(true, QStringLiteral("-1")), qint16(0)) << "Repeat wins over mixed";
    EXPECT_EQ(LoopCountOf(false, QStringLiteral("-1")), std::nullopt) << "mixed values stay";
    EXPECT_EQ(LoopCountOf(false, QStringLiteral("3")), qint16(3));
    EXPECT_EQ(LoopCountOf(false, QStringLiteral(" 2 times")), qint16(2));
    EXPECT_EQ(LoopCountOf(false, QStringLiteral("often")), qint16(0));
    EXPECT_EQ(LoopCountOf(false, QString()), qint16(0));
    EXPECT_EQ(LoopCountOf(false, QStringLiteral("-7")), qint16(0));
    EXPECT_EQ(LoopCountOf(false, QStringLiteral("99999")), qint16(32767)) << "no wrap-around";
}

TEST_F(Editor, ApplyWritesOnlyTheFieldsGivenIntoRecordsAndView)
{
    fill(4);
    PlayList[2].AUTHOR = QStringLiteral("Other");
    model.removeByKey(QStringLiteral("num3"));
    FieldEdits edits;
    edits.title = QStringLiteral("Same");
    edits.doPlay = kFalse;
    edits.doLoop = qint16(0);
    ApplyFieldEdits(model, {2, 3}, edits);

    EXPECT_EQ(PlayList[2].AUTHOR, QStringLiteral("Other")) << "an author left out is kept";
    EXPECT_EQ(PlayList[3].AUTHOR, QStringLiteral("A"));
    for (int r : {2, 3}) {
        EXPECT_EQ(PlayList[r].TITLE, QStringLiteral("Same"));
        EXPECT_EQ(PlayList[r].DOPLAY, kFalse);
        EXPECT_EQ(PlayList[r].DOLOOP, 0);
        EXPECT_EQ(PlayList[r].MEDIATYPE, kMediaWmp);
    }
    EXPECT_EQ(model.item(2), (ViewItem{QStringLiteral("num2"), QStringLiteral("Same"),
                                       QStringLiteral("Other"), QStringLiteral("2.mp3"), false}));
    EXPECT_EQ(PlayList[1].TITLE, QStringLiteral("T1")) << "records not chosen are untouched";
}

TEST_F(Editor, TheViewIsRebuiltInTheNewOrder)
{
    fill(4);
    model.removeByKey(QStringLiteral("num0"));
    RebuildView(model, {});
    EXPECT_EQ(titles(),
              (QStringList{QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3")}))
        << "an empty new playlist leaves the view";

    PlayList[0].DOPLAY = kFalse;
    RebuildView(model, {3, 0, 1});
    EXPECT_EQ(titles(),
              (QStringList{QStringLiteral("T3"), QStringLiteral("T0"), QStringLiteral("T1")}));
    EXPECT_EQ(model.item(1),
              (ViewItem{QStringLiteral("num0"), QStringLiteral("T0"), QStringLiteral("A"),
                        QStringLiteral("file:///m/0.mp3"), false}));
}
