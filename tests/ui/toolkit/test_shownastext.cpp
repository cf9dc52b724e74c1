// Titles, authors and file names come from tags and disks: the boxes and
// dialogs that show them must show them as written, never as markup.
#include "ui/dialogs/frmenginereport.h"
#include "ui/toolkit/qtmessagebox.h"

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

// Runs action on the modal widget of type T once it shows; after a bounded
// number of polls every modal widget is closed so the test fails, not hangs.
template <typename T> void whenShown(std::function<void(T *)> action, int triesLeft = 500)
{
    QTimer::singleShot(10, qApp, [action = std::move(action), triesLeft] {
        auto *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        if (widget && widget->isVisible()) {
            action(widget);
        } else if (triesLeft > 0) {
            whenShown<T>(action, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no " << T::staticMetaObject.className() << " showed";
            while (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        }
    });
}

TEST(ShownAsText, MessageBoxShowsItsTextAsWritten)
{
    QString shown;
    whenShown<QMessageBox>([&](QMessageBox *box) {
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
