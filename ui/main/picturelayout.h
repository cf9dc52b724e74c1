#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <optional>

namespace orvane::ui {

// Where the picture area puts its three occupants: the two engines' video
// and the logo. Lengths in twips, as the window lays itself out.
struct Placement {
    QRectF rect;
    bool visible = false;
};

struct PictureLayout {
    QRectF area;
    // Empty for a media type the layout leaves alone.
    std::optional<Placement> mediaPlayer;
    std::optional<Placement> realPlayer;
    std::optional<Placement> logo;
    // The first engine's display size to set (0, 2 or 4), when it changes.
    std::optional<int> mediaPlayerDisplaySize;
};

struct PictureLayoutInput {
    double width = 0;  // usable width of the picture area
    double height = 0; // usable height
    qint32 loadedMediaType = 0;
    qint32 sizeMode = 0; // 0 the clip's size, 1 double, 2 fit to the window
    QSizeF logo;         // the logo's size
    QSize clipPixels;    // the second engine's clip size in pixels
    QPointF twipsPerPixel{15, 15};
};

// The layout for one state of the window. With nothing to show (nothing or
// an audio CD loaded) both engines stand as squares side by side above the
// logo; the first engine covers the area; the second is centred at its clip
// size (or double, or the whole area), each direction clamped to the area.
// The engine not in use waits out of sight at -10, -10, 10 by 10.
PictureLayout computePictureLayout(const PictureLayoutInput &in);

} // namespace orvane::ui
