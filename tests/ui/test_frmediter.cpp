// The playlist editor as the user works it: clicking lines, the buttons,
// the information frame, Apply, OK and Cancel.
#include "core/modmain.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "tests/core/fakemessagebox.h"
#include "tests/support/editorrecords.h"
#include "tests/support/qtprint.h"
#include "ui/dialogs/frmediter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

using namespace orvane::playlist;

class EditorDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::modMain::LanguageFile =
            QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
        ResetPlayList();
    }
    void TearDown() override { ResetPlayList(); }

    void fill(int n) { orvane::test::fillEditorRecords(model, n, false); }

    QStringList viewTitles() const
    {
        QStringList result;
        for (int i = 0; i < model.count(); ++i)
            result << model.item(i).text;
        return result;
    }

    static QStringList lineTexts(const QListWidget *list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->item(i)->text();
        return result;
    }

    // Selects exactly these lines, as a user's clicks do.
    static void select(QListWidget *list, std::initializer_list<int> rows)
    {
        list->clearSelection();
        for (int row : rows)
            list->item(row)->setSelected(true);
    }

    static const QString mixedText() { return QStringLiteral("<several values>"); }

    PlayListModel model;
    FakeMessageBox box;
};

} // namespace

TEST_F(EditorDialog, ListsDeletedItemsAndKeepsTheViewWithoutANewList)
{
    fill(5);
    for (const char *key : {"num1", "num2", "num4"})
        model.removeByKey(QString::fromLatin1(key));
    ui::frmEditer dialog(model);
    EXPECT_EQ(lineTexts(dialog.lstFrom()).size(), 5);
    EXPECT_TRUE(dialog.lstTo()->count() == 0);
    EXPECT_FALSE(dialog.fraInfo()->isEnabled());
    EXPECT_TRUE(dialog.cmdOK()->isEnabled());

    // OK with nothing chosen keeps the view and closes.
    dialog.cmdOK()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(viewTitles(), (QStringList{QStringLiteral("T0"), QStringLiteral("T3")}));
}

TEST_F(EditorDialog, AnEmptyStoreCannotBeConfirmed)
{
    ui::frmEditer dialog(model);
    EXPECT_EQ(dialog.lstFrom()->count(), 0);
    EXPECT_FALSE(dialog.cmdOK()->isEnabled());
}

TEST_F(EditorDialog, ButtonsWithNothingToMoveBeep)
{
    fill(3);
    ui::frmEditer dialog(model);
    for (QPushButton *button : {dialog.cmdTo(), dialog.cmdBack(), dialog.cmdUp(), dialog.cmdDown()})
        button->click();
    EXPECT_EQ(box.beeps, 4);

    select(dialog.lstFrom(), {0, 1, 2});
    dialog.cmdTo()->click();
    select(dialog.lstTo(), {0});
    dialog.cmdUp()->click();
    EXPECT_EQ(box.beeps, 5) << "the first line cannot go up";
    dialog.cmdDown()->click();
    EXPECT_EQ(lineTexts(dialog.lstTo()),
              (QStringList{QStringLiteral("T1"), QStringLiteral("T0"), QStringLiteral("T2")}));
    EXPECT_TRUE(dialog.lstTo()->item(1)->isSelected()) << "the moved line stays selected";
    EXPECT_FALSE(dialog.lstTo()->item(0)->isSelected());
    dialog.cmdBack()->click();
    EXPECT_EQ(lineTexts(dialog.lstTo()), (QStringList{QStringLiteral("T1"), QStringLiteral("T2")}));
    EXPECT_EQ(box.beeps, 5);
}

TEST_F(EditorDialog, SeveralRecordsShowTheirMixedValues)
{
    fill(3);
    PlayList[2].AUTHOR = QStringLiteral("Other");
    PlayList[2].DOPLAY = kFalse;
    PlayList[2].MEDIATYPE = kMediaAudioCd;
    ui::frmEditer dialog(model);
    select(dialog.lstFrom(), {1, 2});
    EXPECT_TRUE(dialog.fraInfo()->isEnabled());
    EXPECT_EQ(dialog.txtAuthor()->text(), mixedText());
    EXPECT_EQ(dialog.txtTitle()->text(), mixedText());
    EXPECT_EQ(dialog.txtCopyright()->text(), QString()) << "both have none";
    EXPECT_EQ(dialog.chkDoPlay()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(dialog.comFiletype()->currentIndex(), 5);
    EXPECT_EQ(dialog.txtLoop()->text(), QStringLiteral("1"));

    // Apply with the mixed texts unchanged keeps each record's own.
    dialog.ApplyFields();
    EXPECT_EQ(PlayList[1].AUTHOR, QStringLiteral("A"));
    EXPECT_EQ(PlayList[2].AUTHOR, QStringLiteral("Other"));
    EXPECT_EQ(PlayList[1].TITLE, QStringLiteral("T1"));
    EXPECT_EQ(PlayList[1].DOPLAY, kTrue);
    EXPECT_EQ(PlayList[2].DOPLAY, kFalse);
    EXPECT_EQ(PlayList[2].MEDIATYPE, kMediaAudioCd);

    dialog.txtAuthor()->setText(QStringLiteral("New"));
    dialog.chkDoPlay()->click(); // greyed -> ticked
    dialog.ApplyFields();
    EXPECT_EQ(PlayList[1].AUTHOR, QStringLiteral("New"));
    EXPECT_EQ(PlayList[2].AUTHOR, QStringLiteral("New"));
    EXPECT_EQ(PlayList[2].DOPLAY, kTrue);
    EXPECT_EQ(model.item(2).subItem1, QStringLiteral("New")) << "the view follows its records";
    EXPECT_TRUE(model.item(2).checked);
}

TEST_F(EditorDialog, RepeatTitleAndCancel)
{
    fill(2);
    PlayList[0].DESCRIPTHION = QStringLiteral("line one\r\nline two");
    ui::frmEditer dialog(model);
    select(dialog.lstFrom(), {0});
    EXPECT_FALSE(dialog.chkRepeat()->isChecked());
    EXPECT_TRUE(dialog.fraLoop()->isEnabled());
    dialog.chkRepeat()->click();
    EXPECT_FALSE(dialog.fraLoop()->isEnabled());
    dialog.txtTitle()->clear();
    dialog.ApplyFields();
    EXPECT_EQ(PlayList[0].DOLOOP, 0) << "endless repetition";
    EXPECT_EQ(PlayList[0].TITLE, QStringLiteral("Unknown"));
    EXPECT_EQ(dialog.txtTitle()->text(), QStringLiteral("Unknown"));
    EXPECT_EQ(PlayList[0].DESCRIPTHION, QStringLiteral("line one\r\nline two"))
        << "an untouched description keeps its line ends";
    EXPECT_EQ(dialog.lstFrom()->item(0)->text(), QStringLiteral("Unknown"));

    dialog.cmdCancel()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(PlayList[0].TITLE, QStringLiteral("Unknown")) << "applied fields stay";
    EXPECT_EQ(viewTitles(), (QStringList{QStringLiteral("Unknown"), QStringLiteral("T1")}));
}

TEST_F(EditorDialog, ARecordChosenTwiceIsRefused)
{
    fill(3);
    ui::frmEditer dialog(model);
    dialog.show();
    select(dialog.lstFrom(), {2, 0});
    dialog.cmdTo()->click();
    select(dialog.lstFrom(), {2});
    dialog.cmdTo()->click();
    dialog.cmdOK()->click();
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0].icon, core::MessageIcon::Critical);
    EXPECT_TRUE(box.shown[0].text.startsWith(QStringLiteral("An item appears more than once")));
    EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    EXPECT_EQ(viewTitles().size(), 3);

    select(dialog.lstTo(), {2});
    dialog.cmdBack()->click();
    dialog.cmdOK()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(viewTitles(), (QStringList{QStringLiteral("T0"), QStringLiteral("T2")}));
}

} // namespace orvane::test
