#include "app/entryprocedure.h"
#include "app/platformchoice.h"
#include "ui/main/artwork.h"
#include "ui/toolkit/qtmessagebox.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

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

// "--help" and "--version" as the only argument answer and exit; with
// anything beside them they are locations like every other argument, so a
// file of that name can still be opened. Returns -1 to start the player.
int answerInformationOption(int argc, char **argv)
{
    if (argc != 2)
        return -1;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("orvane %s\n", ORVANE_VERSION);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: orvane [location...]\n"
                    "       orvane --help | --version\n\n"
                    "Plays media from one window and one playlist. Each location is added to\n"
                    "the playlist: a media file, a folder, a URL, an .ovl, M3U or RAM playlist,\n"
                    "or a disc (AudioCD://D:/). A running Orvane takes the locations of a\n"
                    "second start. Settings: $XDG_CONFIG_HOME/orvane/setting.ini.\n");
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int answered = answerInformationOption(argc, argv); answered >= 0)
        return answered;
    holdStandardDescriptors();
    orvane::app::applyPlatformChoice(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral("orvane"));
    QApplication::setWindowIcon(orvane::ui::programIcon());

    orvane::ui::QtMessageBox messageBox;
    orvane::core::setMessageBoxService(&messageBox);
    const int status = orvane::app::runEntryProcedure(app);
    orvane::core::setMessageBoxService(nullptr);
    return status;
}
