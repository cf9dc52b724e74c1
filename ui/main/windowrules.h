#pragma once

#include <QSizeF>

#include <optional>

namespace orvane::ui {

// The main window's size rules, in twips, apart from any window so that
// they can be checked by arithmetic alone. "Outer" is the whole window with
// its frame, caption and menu bar; "inner" is what lies below the menu bar:
// the picture area above the control bar.

inline constexpr double kMinWidth = 5655;         // outer
inline constexpr double kMinPictureHeight = 4305; // outer, without the control bar
inline constexpr double kDesignedPictureWidth = 5655;
inline constexpr double kDesignedPictureHeight = 4305;

// The least outer height: the bare minimum plus the bar while it is shown.
double minimumHeight(bool barVisible, double barHeight);

// What start-up does with the outer height once the picture size is known:
// with the bar shown the window takes the bar on top of the picture, so
// the picture area (and with it the window) comes back as it was left;
// without it the window is the picture and its frame.
double startupOuterHeight(bool barVisible, double barHeight, double pictureHeight,
                          double frameHeight);

struct ResizeInput {
    qint32 state = 0;         // 0 normal, 1 minimised, 2 maximised
    qint32 previousState = 0; // the state the last resize saw
    QSizeF outer;
    QSizeF inner;
    QSizeF picture; // the remembered picture area
    bool barVisible = true;
    double barHeight = 0;
};

struct ResizeDecision {
    // Leaving the maximised state: the outer size that gives the remembered
    // picture area back.
    std::optional<QSizeF> restore;
    // The window is below its minimum: the corrected outer size. The
    // correction raises a resize of its own, which lays out.
    std::optional<QSizeF> correct;
    // The usable picture area to lay out, when the window is laid out.
    std::optional<QSizeF> area;
    // The picture size to remember (only in the normal state).
    std::optional<QSizeF> picture;
    qint32 previousState = 0; // to keep for the next resize
};

ResizeDecision decideResize(const ResizeInput &in);

struct BarChangeDecision {
    std::optional<double> outerHeight; // normal state: keep the picture area
    std::optional<QSizeF> area;        // maximised: lay out in the same window
};

// The control bar's height became barHeight. panelsReady is false while
// start-up or a command rearranges the bar and sizes the window itself.
BarChangeDecision decideBarHeightChange(qint32 state, bool panelsReady, QSizeF outer, QSizeF inner,
                                        QSizeF picture, double barHeight);

} // namespace orvane::ui
