#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace orvane::ui {

// The copyright line drawn on the logo and shown by the about box. Each
// line must fit the logo's 300 pixels in 11 point bold italic.
inline const QString kCopyrightLines =
    QStringLiteral("Orvane media player\n(C) 2026 the Orvane team");

// The program's own pictures by their resource numbers, drawn at the sizes
// the windows lay themselves out for.
enum PictureId : int {
    kPictureCaptionActive = 100,   // 23 x 23, the caption of the active window
    kPictureCaptionInactive = 101, // 23 x 23, of an inactive one
    kPictureMenu = 102,            // 180 x 50, the Help menu's picture item
    kPictureLogo = 103,            // 300 x 70, the logo with the copyright line
    kPictureAbout = 104,           // 320 x 240, the about box
};

// The program's icon for every window: the installation's own files, else
// the drawn mark.
QIcon programIcon();

// A null pixmap for any other number.
QPixmap resourcePicture(int id);

// The logo shown while no video is (300 x 70), with the copyright line's
// two lines drawn right-aligned at its foot in yellow bold italic.
QPixmap logoPicture();

// A toolbar image by its key ("play", "pause", "stop", "reverse",
// "forward", "sound", "nosound", "open_pl", "save_pl", "add_pl",
// "delete_pl", "clear_pl", "down_pl", "up_pl", "info"): the desktop's icon
// theme where it has one, else Qt's own.
QIcon toolbarIcon(const QString &key);

} // namespace orvane::ui
