#include "ui/main/picturelayout.h"

#include <algorithm>

namespace orvane::ui {

namespace {

const Placement kOutOfSight{QRectF(-10, -10, 10, 10), false};

void layOutIdle(const PictureLayoutInput &in, PictureLayout &out)
{
    const double sw = out.area.width();
    const double sh = out.area.height();
    const double half = sw / 2;
    const double above = sh - in.logo.height();
    // An area lower than the logo would give negative squares: none then.
    const double side = std::max(0.0, std::min(half, above));
    const double top = std::max(0.0, (above - side) / 2);
    out.mediaPlayer = Placement{QRectF((half - side) / 2, top, side, side), true};
    out.realPlayer = Placement{QRectF(half + (half - side) / 2, top, side, side), true};
    out.logo = Placement{QRectF((sw - in.logo.width()) / 2, sh - in.logo.height(), in.logo.width(),
                                in.logo.height()),
                         true};
}

void layOutMediaPlayer(const PictureLayoutInput &in, PictureLayout &out)
{
    out.mediaPlayer = Placement{QRectF(0, 0, out.area.width(), out.area.height()), true};
    switch (in.sizeMode) {
    case 0:
        out.mediaPlayerDisplaySize = 0;
        break;
    case 1:
        out.mediaPlayerDisplaySize = 2;
        break;
    case 2:
        out.mediaPlayerDisplaySize = 4;
        break;
    default:
        break;
    }
    out.realPlayer = kOutOfSight;
    out.logo = Placement{QRectF(), false};
}

void layOutRealPlayer(const PictureLayoutInput &in, PictureLayout &out)
{
    const double sw = out.area.width();
    const double sh = out.area.height();
    double w = sw;
    double h = sh;
    if (in.sizeMode == 0 || in.sizeMode == 1) {
        const double factor = in.sizeMode == 1 ? 2.0 : 1.0;
        w = in.clipPixels.width() * in.twipsPerPixel.x() * factor;
        h = in.clipPixels.height() * in.twipsPerPixel.y() * factor;
    }
    w = std::min(w, sw);
    h = std::min(h, sh);
    out.realPlayer = Placement{QRectF((sw - w) / 2, (sh - h) / 2, w, h), true};
    out.mediaPlayer = kOutOfSight;
    out.logo = Placement{QRectF(), false};
}

} // namespace

PictureLayout computePictureLayout(const PictureLayoutInput &in)
{
    PictureLayout out;
    out.area = QRectF(0, 0, std::max(0.0, in.width), std::max(0.0, in.height));
    switch (in.loadedMediaType) {
    case 0:
    case 3:
        layOutIdle(in, out);
        break;
    case 1:
    case 4:
        layOutMediaPlayer(in, out);
        break;
    case 2:
        layOutRealPlayer(in, out);
        break;
    default:
        break;
    }
    return out;
}

} // namespace orvane::ui
