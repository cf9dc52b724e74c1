#include "app/entryprocedure.h"
#include "ui/toolkit/qtmessagebox.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral("orvane"));

    orvane::ui::QtMessageBox messageBox;
    orvane::core::setMessageBoxService(&messageBox);
    const int status = orvane::app::runEntryProcedure(app);
    orvane::core::setMessageBoxService(nullptr);
    return status;
}
