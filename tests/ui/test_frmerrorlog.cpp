// The error-log dialog's texts and list.
#include "core/modmain.h"
#include "ui/dialogs/frmerrorlog.h"

#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QtMath>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

TEST(ErrorLogDialog, TextsComeFromTheLanguageFileOnly)
{
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("Test.ovs"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[ErrorLog]\r\nCaption=Failed\r\nDescError=First part|Second part\r\n"
                  "hdrPath=Where\r\n");
    }
    core::modMain::LanguageFile = file;
    ui::frmErrorLog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Failed"));
    EXPECT_EQ(dialog.txtDescription()->toPlainText(), QStringLiteral("First part\nSecond part"));
    EXPECT_TRUE(dialog.txtDescription()->isReadOnly());
    EXPECT_EQ(dialog.cmdOK()->text(), QString()); // no built-in fall-back
    EXPECT_EQ(dialog.lstErrorLog()->headerItem()->text(0), QStringLiteral("Where"));
}

TEST(ErrorLogDialog, TheExplanationIsShownWholeHoweverLong)
{
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("Long.ovs"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        // Six lines, the last long enough to wrap: more than a fixed box holds.
        out.write("[ErrorLog]\r\nDescError=1|2|3|4|5|"
                  "次の場所はプレイリストに追加できませんでした。どのエンジンでも開けませんでした。"
                  "ファイルがないか、壊れているか、対応していない形式です。\r\n");
    }
    core::modMain::LanguageFile = file;
    ui::frmErrorLog dialog;
    dialog.show();
    QTextEdit *box = dialog.txtDescription();
    EXPECT_FALSE(box->verticalScrollBar()->isVisible()) << "the text would scroll";
    EXPECT_GE(box->viewport()->height(), qCeil(box->document()->size().height()));
    EXPECT_GT(dialog.lstErrorLog()->height(), box->fontMetrics().height() * 2)
        << "the list keeps room for its locations";
}

TEST(ErrorLogDialog, ListsTheLocationsAndClosesWithOk)
{
    core::modMain::LanguageFile =
        QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
    ui::frmErrorLog dialog;
    dialog.addItem(QStringLiteral("err9"), QStringLiteral("stale"));
    dialog.clearItems();
    dialog.addItem(QStringLiteral("err0"), QStringLiteral("file:///a/missing.mp3"));
    dialog.addItem(QStringLiteral("err1"), QStringLiteral("AudioCD://D:/"));
    ASSERT_EQ(dialog.lstErrorLog()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.lstErrorLog()->topLevelItem(1)->text(0), QStringLiteral("AudioCD://D:/"));

    bool closed = false;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.cmdOK()->click();
        closed = true;
    });
    dialog.showModal(); // returns once OK was pressed
    EXPECT_TRUE(closed);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace orvane::test
