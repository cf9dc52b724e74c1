// The playlist store, its view model and the item operations behind the
// playlist menu.
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "tests/support/qtprint.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace orvane::playlist;

namespace {

class PlayListOps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetPlayList();
        PlayListFile.clear();
    }

    // n items "num0".."num(n-1)" with records behind them.
    void fill(int n)
    {
        QList<ViewItem> items;
        for (int i = 0; i < n; ++i) {
            PlayListItem &record = EnsureRecord(i);
            record.FILENAME = QStringLiteral("file:///m/%1.mp3").arg(i);
            record.TITLE = QStringLiteral("T%1").arg(i);
            items.append({KeyOfIndex(i), record.TITLE, QStringLiteral("A%1").arg(i),
                          record.FILENAME, i % 2 == 0});
        }
        model.appendItems(items);
    }

    QStringList keys() const
    {
        QStringList result;
        for (int i = 0; i < model.count(); ++i)
            result << model.key(i);
        return result;
    }

    PlayListModel model;
};

QStringList keyList(std::initializer_list<int> indices)
{
    QStringList result;
    for (int i : indices)
        result << KeyOfIndex(i);
    return result;
}

} // namespace

TEST_F(PlayListOps, MoveSelectedItem)
{
    struct Case {
        int items;
        int selected; // -1: none
        int distance;
        bool moved;
        QStringList order;
    };
    const Case cases[] = {
        {5, 0, -1, false, keyList({0, 1, 2, 3, 4})},
        {5, 4, +1, false, keyList({0, 1, 2, 3, 4})},
        {1, 0, -1, false, keyList({0})},
        {1, 0, +1, false, keyList({0})},
        {3, -1, +1, false, keyList({0, 1, 2})},
        {5, 2, -1, true, keyList({0, 2, 1, 3, 4})},
        {5, 2, +1, true, keyList({0, 1, 3, 2, 4})},
        {5, 1, +9, true, keyList({0, 2, 3, 4, 1})},
        {5, 3, -9, true, keyList({3, 0, 1, 2, 4})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.items << " items, " << c.selected << " by " << c.distance);
        model.clear();
        ResetPlayList();
        fill(c.items);
        model.setSelectedPosition(c.selected);
        const ViewItem before = model.item(c.selected);
        EXPECT_EQ(MoveSelectedItem(model, c.distance), c.moved);
        EXPECT_EQ(keys(), c.order);
        if (c.moved) {
            const int at = model.selectedPosition();
            EXPECT_EQ(model.item(at), before) << "texts, check state and key travel along";
        }
    }
}

TEST_F(PlayListOps, DeletingTheLastItemResetsTheStore)
{
    fill(1);
    PlayListFile = QStringLiteral("/tmp/x.ovl");
    EXPECT_FALSE(DeleteSelectedItem(model)) << "nothing selected";
    model.setSelectedPosition(0);
    EXPECT_TRUE(DeleteSelectedItem(model));
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(PlayList, QList<PlayListItem>{PlayListItem{}});
    EXPECT_TRUE(PlayListFile.isEmpty());
    EXPECT_EQ(NextRecordIndex(), 0);
}

TEST_F(PlayListOps, DeletedIndicesAreNotReused)
{
    fill(5);
    PlayListFile = QStringLiteral("/tmp/x.ovl");
    model.setSelectedPosition(model.positionOfKey(QStringLiteral("num3")));
    ASSERT_TRUE(DeleteSelectedItem(model));
    EXPECT_EQ(keys(), keyList({0, 1, 2, 4}));
    EXPECT_EQ(NextRecordIndex(), 5);
    EXPECT_EQ(PlayList.size(), 5) << "the record stays until the store is reset";
    EXPECT_EQ(PlayListFile, QStringLiteral("/tmp/x.ovl"));
}

TEST_F(PlayListOps, ClearPlayList)
{
    EXPECT_FALSE(ClearPlayList(model));
    fill(3);
    PlayListFile = QStringLiteral("/tmp/x.ovl");
    EXPECT_TRUE(ClearPlayList(model));
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(PlayList.size(), 1);
    EXPECT_TRUE(PlayListFile.isEmpty());
}

TEST_F(PlayListOps, IndexFromKey)
{
    fill(3);
    struct Case {
        QString key;
        int index;
    };
    const Case cases[] = {
        {QStringLiteral("num0"), 0},
        {QStringLiteral("num12"), 12},
        {QStringLiteral("num70000"), 70000},
        {QStringLiteral("num"), -1},
        {QStringLiteral("numx"), -1},
        {QStringLiteral("num-1"), -1},
        {QStringLiteral("num99999999999"), -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IndexFromKey(&model, c.key), c.index) << c.key.toStdString();

    EXPECT_EQ(IndexFromKey(&model, {}), -1) << "no selection";
    EXPECT_EQ(IndexFromKey(nullptr, {}), -1);
    model.setSelectedPosition(2);
    EXPECT_EQ(IndexFromKey(&model, {}), 2);
}

TEST(ReplaceAll, SplitsAndJoins)
{
    struct Case {
        const char16_t *text, *search, *replacement, *result;
    };
    const Case cases[] = {
        {u"a.b.c", u".", u"*.", u"a*.b*.c"}, {u"", u".", u"x", u""},
        {u"abc", u"", u"x", u"abc"},         {u"aaa", u"aa", u"b", u"ba"},
        {u"A.a", u"a", u"", u"A."},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ReplaceAll(QString::fromUtf16(c.text), QString::fromUtf16(c.search),
                             QString::fromUtf16(c.replacement)),
                  QString::fromUtf16(c.result));
    }
}

TEST(PlayListModel, ChecksAndColumnsReachTheView)
{
    ResetPlayList();
    EnsureRecord(0).FILENAME = QStringLiteral("a.mp3");
    PlayListModel model;
    model.appendItems({{QStringLiteral("num0"), QStringLiteral("Title"), QStringLiteral("Author"),
                        QStringLiteral("a.mp3"), false}});
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), u"File");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), u"Author");
    EXPECT_EQ(model.data(model.index(0, 0), PlayListModel::kKeyRole).toString(), u"num0");
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);

    QString editedKey;
    bool editedCheck = false;
    QObject::connect(&model, &PlayListModel::checkStateEdited, [&](const QString &k, bool c) {
        editedKey = k;
        editedCheck = c;
    });
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.item(0).checked);
    EXPECT_EQ(PlayList[0].DOPLAY, kTrue) << "the record follows the box";
    EXPECT_EQ(editedKey, u"num0");
    EXPECT_TRUE(editedCheck);
}

// What a tooltip shows of a text: Qt's tooltip takes anything that looks
// like markup as rich text.
QString shownAsToolTip(const QString &toolTip)
{
    QTextDocument document;
    if (Qt::mightBeRichText(toolTip))
        document.setHtml(toolTip);
    else
        document.setPlainText(toolTip);
    return document.toPlainText();
}

TEST(PlayListModel, ToolTipsShowTagsAsWritten)
{
    ResetPlayList();
    const QString markup = QStringLiteral("<b>Bold</b> & <a href=\"x\">link</a>");
    const QString spaced = QStringLiteral("Two  spaces &amp; an entity");
    const QString file = QStringLiteral("/m/<i>a</i>.mp3");
    PlayListModel model;
    model.appendItems({{QStringLiteral("num0"), markup, spaced, file, true},
                       {QStringLiteral("num1"), QStringLiteral("Plain"), QString(),
                        QStringLiteral("b.mp3"), true}});
    EXPECT_EQ(shownAsToolTip(model.data(model.index(0, 0), Qt::ToolTipRole).toString()), markup);
    EXPECT_EQ(shownAsToolTip(model.data(model.index(0, 1), Qt::ToolTipRole).toString()), spaced);
    EXPECT_EQ(shownAsToolTip(model.data(model.index(0, 2), Qt::ToolTipRole).toString()), file);
    EXPECT_EQ(shownAsToolTip(model.data(model.index(1, 0), Qt::ToolTipRole).toString()), u"Plain");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), markup)
        << "the view draws plain text itself";
    // An empty tooltip is no tooltip; markup around nothing would show an empty box.
    EXPECT_TRUE(model.data(model.index(1, 1), Qt::ToolTipRole).toString().isEmpty());
}

TEST(PlayListModel, BulkAppendIsOneInsertion)
{
    PlayListModel model;
    int insertions = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    QList<ViewItem> items(100000);
    for (int i = 0; i < items.size(); ++i)
        items[i].key = KeyOfIndex(i);
    model.appendItems(items);
    EXPECT_EQ(insertions, 1);
    EXPECT_EQ(model.rowCount(), 100000);
    EXPECT_EQ(model.positionOfKey(QStringLiteral("num99999")), 99999);
}

TEST(PlayListModel, SortingKeepsTheSelectedItem)
{
    PlayListModel model;
    const char16_t *titles[] = {u"beta", u"Alpha", u"gamma", u"alpha"};
    for (int i = 0; i < 4; ++i)
        model.insertItem(i, {KeyOfIndex(i), QString::fromUtf16(titles[i]), {}, {}, false});
    model.setSelectedPosition(2);

    model.sortByColumn(0, SortOrder::Ascending);
    QStringList order;
    for (int i = 0; i < 4; ++i)
        order << model.item(i).text;
    EXPECT_EQ(order, (QStringList{QStringLiteral("Alpha"), QStringLiteral("alpha"),
                                  QStringLiteral("beta"), QStringLiteral("gamma")}))
        << "letter case ignored, equal texts keep their order";
    EXPECT_EQ(model.key(model.selectedPosition()), u"num2");

    model.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(model.item(0).text, u"gamma");
    EXPECT_EQ(model.key(model.selectedPosition()), u"num2");
}

TEST(PlayListModel, ThePlayingMarkStaysWithItsItem)
{
    PlayListModel model;
    for (int i = 0; i < 3; ++i)
        model.insertItem(i, {KeyOfIndex(i), QStringLiteral("t%1").arg(2 - i), {}, {}, true});
    model.setPlayingMark(QStringLiteral("picture"), QStringLiteral("Playing"));
    const auto marked = [&] {
        QList<int> rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < 3; ++column) {
                const QModelIndex at = model.index(row, column);
                if (model.data(at, Qt::DecorationRole).isValid()) {
                    rows << row * 10 + column;
                    EXPECT_EQ(model.data(at, Qt::AccessibleDescriptionRole).toString(), u"Playing");
                }
            }
        }
        return rows;
    };
    EXPECT_TRUE(marked().isEmpty()) << "nothing plays yet";

    QList<int> changedRows;
    QObject::connect(
        &model, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex &from, const QModelIndex &) { changedRows << from.row(); });
    model.setPlayingKey(QStringLiteral("num1"));
    EXPECT_EQ(marked(), QList<int>{10}) << "first column of the item that plays only";
    model.setPlayingKey(QStringLiteral("num2"));
    EXPECT_EQ(marked(), QList<int>{20});
    EXPECT_EQ(changedRows, (QList<int>{1, 1, 2})) << "the old row and the new one repaint";

    model.sortByColumn(0, SortOrder::Ascending); // t0 (num2) first
    EXPECT_EQ(marked(), QList<int>{0}) << "the mark goes with its item";
    model.removeByKey(QStringLiteral("num2"));
    EXPECT_TRUE(marked().isEmpty());
    model.setPlayingKey(QString());
    EXPECT_TRUE(marked().isEmpty());
}
