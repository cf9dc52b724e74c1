// The error-log dialog's texts and list.
#include "core/modmain.h"
#include "ui/dialogs/frmerrorlog.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

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
        out.write("[ErrorLog]\r\nCaption=Failed\r\nDescError=First part|Second part\r\n");
    }
    core::modMain::LanguageFile = file;
    ui::frmErrorLog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Failed"));
    EXPECT_EQ(dialog.txtDescription()->toPlainText(), QStringLiteral("First part\nSecond part"));
    EXPECT_TRUE(dialog.txtDescription()->isReadOnly());
    EXPECT_EQ(dialog.cmdOK()->text(), QString()); // no built-in fall-back
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
