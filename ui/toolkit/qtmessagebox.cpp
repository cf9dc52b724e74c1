#include "ui/toolkit/qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace orvane::ui {

namespace {

QMessageBox::Icon toQt(core::MessageIcon icon)
{
    switch (icon) {
    case core::MessageIcon::Critical:
        return QMessageBox::Critical;
    case core::MessageIcon::Question:
        return QMessageBox::Question;
    case core::MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case core::MessageIcon::Information:
        return QMessageBox::Information;
    case core::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(core::MessageButtons buttons)
{
    switch (buttons) {
    case core::MessageButtons::Ok:
        return QMessageBox::Ok;
    case core::MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case core::MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case core::MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case core::MessageButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

core::MessageResult fromQt(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return core::MessageResult::Ok;
    case QMessageBox::Yes:
        return core::MessageResult::Yes;
    case QMessageBox::No:
        return core::MessageResult::No;
    case QMessageBox::Retry:
        return core::MessageResult::Retry;
    default:
        return core::MessageResult::Cancel;
    }
}

} // namespace

core::MessageResult QtMessageBox::show(const QString &text, const QString &title,
                                       core::MessageIcon icon, core::MessageButtons buttons)
{
    QMessageBox box(toQt(icon), title, text, toQt(buttons), QApplication::activeWindow());
    // The texts carry titles and file names: markup in them is theirs, not ours.
    box.setTextFormat(Qt::PlainText);
    return fromQt(box.exec());
}

void QtMessageBox::beep()
{
    QApplication::beep();
}

} // namespace orvane::ui
