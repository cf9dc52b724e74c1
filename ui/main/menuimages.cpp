#include "ui/main/menuimages.h"

#include "ui/main/artwork.h"

#include <QApplication>
#include <QStyle>

namespace orvane::ui {

namespace {

struct Image {
    const char *toolbarKey; // an image the toolbars share, or nullptr
    const char *theme;
    QStyle::StandardPixmap fallback;
};

// In the order of the menu table's image numbers.
constexpr Image kImages[] = {
    {"open_pl", nullptr, QStyle::SP_DialogOpenButton},              // 1 open
    {"save_pl", nullptr, QStyle::SP_DialogSaveButton},              // 2 save
    {nullptr, "document-save-as", QStyle::SP_DialogSaveButton},     // 3 save as
    {"play", nullptr, QStyle::SP_MediaPlay},                        // 4 play/pause
    {"stop", nullptr, QStyle::SP_MediaStop},                        // 5 stop
    {"reverse", nullptr, QStyle::SP_MediaSkipBackward},             // 6 previous
    {"forward", nullptr, QStyle::SP_MediaSkipForward},              // 7 next
    {nullptr, "media-playlist-repeat", QStyle::SP_BrowserReload},   // 8 repeat all
    {"add_pl", nullptr, QStyle::SP_FileDialogNewFolder},            // 9 add
    {nullptr, "document-edit", QStyle::SP_FileDialogDetailedView},  // 10 edit
    {"delete_pl", nullptr, QStyle::SP_TrashIcon},                   // 11 delete
    {"clear_pl", nullptr, QStyle::SP_DialogResetButton},            // 12 clear
    {"up_pl", nullptr, QStyle::SP_ArrowUp},                         // 13 up
    {"down_pl", nullptr, QStyle::SP_ArrowDown},                     // 14 down
    {"info", nullptr, QStyle::SP_MessageBoxInformation},            // 15 information
    {nullptr, "utilities-system-monitor", QStyle::SP_ComputerIcon}, // 16 statistics
    {nullptr, "preferences-system", QStyle::SP_FileDialogInfoView}, // 17 settings
    {nullptr, "zoom-fit-best", QStyle::SP_TitleBarMaxButton},       // 18 display size
    {nullptr, "help-browser", QStyle::SP_DialogHelpButton},         // 19 contents
    {nullptr, "help-about", QStyle::SP_MessageBoxInformation},      // 20 about
    {nullptr, "video-x-generic", QStyle::SP_MediaPlay},             // 21 first engine
    {nullptr, "audio-x-generic", QStyle::SP_MediaVolume},           // 22 second engine
};

} // namespace

QList<QIcon> menuImages()
{
    QList<QIcon> images;
    images.reserve(qsizetype(std::size(kImages)));
    for (const Image &image : kImages) {
        QIcon icon;
        if (image.toolbarKey)
            icon = toolbarIcon(QLatin1String(image.toolbarKey));
        else
            icon = QIcon::fromTheme(QLatin1String(image.theme));
        if (icon.isNull())
            icon = QApplication::style()->standardIcon(image.fallback);
        images.append(icon);
    }
    return images;
}

} // namespace orvane::ui
