// Titles, authors and file names come from tags and disks: the boxes and
// dialogs that show them must show them as written, never as markup.
#include "ui/dialogs/frmenginereport.h"
#include "ui/toolkit/qtmessagebox.h"

#include "tests/support/modalpoll.h"
#include "tests/support/qtprint.h"
#include "tests/support/showntext.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace orvane::test {
namespace {

const QString kMarkup = QStringLiteral("<b>Bold</b> & <a href=\"x\">link</a>");

TEST(ShownAsText, MessageBoxShowsItsTextAsWritten)
{
    QString shown;
    whenShown<QMessageBox>(qApp, [&](QMessageBox *box) {
        if (const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
            shown = shownText(*label);
        box->button(QMessageBox::Ok)->click();
    });
    const QString text = kMarkup + QStringLiteral("\n/m/<i>a</i>.mp3");
    ui::QtMessageBox boxes;
    const core::MessageResult result = boxes.show(
        text, QStringLiteral("Orvane"), core::MessageIcon::Exclamation, core::MessageButtons::Ok);
    EXPECT_EQ(result, core::MessageResult::Ok);
    EXPECT_EQ(shown, text);
}

TEST(ShownAsText, EngineReportShowsLabelsAndValuesAsWritten)
{
    const playback::EngineReport report = ui::frmEngineReport::fromText(
        QStringLiteral("Statistics"), QStringLiteral("Title: ") + kMarkup +
                                          QStringLiteral("\n<i>Clip</i>: <u>one</u>\n") + kMarkup);
    ui::frmEngineReport dialog(report, nullptr);
    QStringList texts;
    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        texts.append(label->text());
        EXPECT_EQ(shownText(*label), label->text());
    }
    EXPECT_TRUE(texts.contains(kMarkup)) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("<i>Clip</i>:"))) << "row labels too";
}

} // namespace
} // namespace orvane::test
