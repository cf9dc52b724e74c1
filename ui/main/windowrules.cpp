#include "ui/main/windowrules.h"

namespace orvane::ui {

namespace {

constexpr qint32 kNormal = 0;
constexpr qint32 kMinimised = 1;
constexpr qint32 kMaximised = 2;

} // namespace

double minimumHeight(bool barVisible, double barHeight)
{
    return kMinPictureHeight + (barVisible ? barHeight : 0);
}

double startupOuterHeight(bool barVisible, double barHeight, double pictureHeight,
                          double frameHeight)
{
    return (barVisible ? barHeight : 0) + pictureHeight + frameHeight;
}

ResizeDecision decideResize(const ResizeInput &in)
{
    ResizeDecision out;
    out.previousState = in.state;
    if (in.state == kMinimised)
        return out;
    const double bar = in.barVisible ? in.barHeight : 0;
    QSizeF outer = in.outer;
    QSizeF inner = in.inner;
    if (in.state == kNormal && in.previousState == kMaximised) {
        const QSizeF frame = in.outer - in.inner;
        out.restore =
            QSizeF(frame.width() + in.picture.width(), frame.height() + in.picture.height() + bar);
        // The restore raises its own resize; the rest of this one already
        // works on the restored size so the window never shows the
        // maximised layout in a normal frame.
        outer = *out.restore;
        inner = *out.restore - frame;
    }
    const double minHeight = minimumHeight(in.barVisible, in.barHeight);
    if (outer.width() < kMinWidth) {
        out.correct = QSizeF(kMinWidth, outer.height());
        return out;
    }
    if (outer.height() < minHeight) {
        out.correct = QSizeF(outer.width(), minHeight);
        return out;
    }
    out.area = QSizeF(inner.width(), inner.height() - bar);
    if (in.state == kNormal)
        out.picture = out.area;
    return out;
}

BarChangeDecision decideBarHeightChange(qint32 state, bool panelsReady, QSizeF outer, QSizeF inner,
                                        QSizeF picture, double barHeight)
{
    BarChangeDecision out;
    if (state == kNormal && panelsReady)
        out.outerHeight = outer.height() - inner.height() + picture.height() + barHeight;
    else if (state == kMaximised)
        out.area = QSizeF(inner.width(), inner.height() - barHeight);
    return out;
}

} // namespace orvane::ui
