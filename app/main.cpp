#include "app/entryprocedure.h"
#include "app/platformchoice.h"
#include "ui/toolkit/qtmessagebox.h"

#include <QApplication>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Started without standard input (a desktop launcher, a service), the first
// descriptor the program opens would be 0, and libraries that treat 0 as
// "the terminal" would close or read the X connection. Hold 0 to 2 on
// /dev/null instead.
void holdStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    holdStandardDescriptors();
    orvane::app::applyPlatformChoice(argc, argv);
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
