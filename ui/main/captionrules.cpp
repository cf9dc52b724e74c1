#include "ui/main/captionrules.h"

#include <algorithm>
#include <cmath>

namespace orvane::ui::caption {

Metrics metricsFor(double logicalDpi, int fontHeight)
{
    const double scale = logicalDpi > 0 ? logicalDpi / 96.0 : 1.0;
    const auto scaled = [scale](int px) { return std::max(1, int(std::lround(px * scale))); };
    Metrics m;
    m.frameX = m.frameY = scaled(4);
    m.dialogFrameX = m.dialogFrameY = scaled(3);
    m.border = scaled(1);
    // The caption pictures are 23 pixels high: at 96 DPI the caption is
    // theirs; a larger title font makes it taller.
    m.captionHeight = std::max(scaled(24), fontHeight + scaled(8));
    m.smallCaptionHeight = std::max(scaled(18), fontHeight + scaled(4));
    m.buttonX = m.buttonY = m.captionHeight - m.border;
    return m;
}

QSize frameSize(const Metrics &m, const Style &s)
{
    if (s.sizingBorder && !s.minimised)
        return {m.frameX, m.frameY};
    return {m.dialogFrameX, m.dialogFrameY};
}

Box captionRect(QSize window, const Metrics &m, const Style &s)
{
    const QSize frame = frameSize(m, s);
    const int height = s.toolWindow ? m.smallCaptionHeight : m.captionHeight;
    Box r;
    r.left = frame.width();
    r.top = frame.height();
    r.right = window.width() - frame.width();
    r.bottom = r.top + height - m.border;
    return r;
}

Buttons captionButtons(const Box &rect, const Metrics &m, const Style &s)
{
    const int cx = m.buttonX;
    const int cy = m.buttonY;
    Box box{rect.right - cx, rect.top + 2, 0, rect.top + cy - 2};
    box.right = box.left + cx - 2;
    if (s.toolWindow) {
        box.left += 3;
        box.bottom -= 3;
    }
    Buttons out;
    out.buttons.push_back({ButtonKind::Close, false, box});
    if (s.minimiseBox || s.maximiseBox) {
        // The left edge moves by the button's width and the right one by
        // its height: with the usual square buttons they keep one width.
        box.left -= cx;
        box.right -= cy;
        out.buttons.push_back(
            {s.maximised && s.maximiseBox ? ButtonKind::Restore : ButtonKind::Maximise,
             !s.maximiseBox, box});
        box.left = box.left - cx + 2;
        box.right = box.right - cy + 2;
        out.buttons.push_back({ButtonKind::Minimise, !s.minimiseBox, box});
    } else if (s.contextHelp) {
        box.left -= cx;
        box.right -= cy;
        out.buttons.push_back({ButtonKind::Help, false, box});
    }
    out.reserved = rect.width() - out.buttons.back().box.left - 2;
    return out;
}

Box iconBox(const Box &rect, const Metrics &m)
{
    return {rect.left + 2, rect.top + 1, rect.left + 2 + m.buttonX - 2,
            rect.top + 1 + m.buttonY - 2};
}

int iconWidth(const Metrics &m, const Style &s)
{
    return s.toolWindow ? 0 : m.buttonX;
}

Box textRect(const Box &rect, int iconWidth, int reserved)
{
    return {iconWidth + 6, rect.top, rect.right - reserved - iconWidth + rect.left + 6,
            rect.bottom};
}

Qt::Alignment textAlignment(int alignment)
{
    const Qt::Alignment across = alignment == 1   ? Qt::AlignRight
                                 : alignment == 2 ? Qt::AlignHCenter
                                                  : Qt::AlignLeft;
    return across | Qt::AlignVCenter;
}

std::vector<Band> gradientBands(const Box &rect, QColor start, QColor end)
{
    const int w = rect.width();
    if (w <= 0 || rect.height() <= 0)
        return {};
    const int bandWidth = std::max(1, int(std::lround(w / 64.0)));
    const double steps = double(w) / bandWidth;
    struct Channel {
        double value, end, step, direction;
    };
    const auto channel = [steps](int from, int to) {
        return Channel{double(from), double(to), std::abs(to - from) / steps,
                       from < to ? 1.0 : -1.0};
    };
    Channel ch[3] = {channel(start.red(), end.red()), channel(start.green(), end.green()),
                     channel(start.blue(), end.blue())};
    // Halves go to the even neighbour, as the default rounding mode does.
    const auto level = [](double v) {
        return std::clamp(int(std::abs(std::nearbyint(v))), 0, 255);
    };
    const auto colour = [&] {
        return QColor(level(ch[0].value), level(ch[1].value), level(ch[2].value));
    };

    std::vector<Band> bands;
    bands.push_back({rect.left, bandWidth, colour()});
    int remaining = w;
    while (remaining > bandWidth) {
        remaining -= bandWidth;
        for (Channel &c : ch)
            if (c.value != c.end)
                c.value += c.step * c.direction;
        bands.push_back({rect.left + (w - remaining), bandWidth, colour()});
    }
    bands.push_back({rect.right - bandWidth, bandWidth, colour()});
    return bands;
}

namespace {

QColor systemColour(int index, const QPalette &p)
{
    using R = QPalette::ColorRole;
    const auto active = [&p](R role) { return p.color(QPalette::Active, role); };
    const auto inactive = [&p](R role) { return p.color(QPalette::Inactive, role); };
    switch (index) {
    case 2:  // active caption
    case 13: // selection
    case 27: // the far end of the active caption's gradient
    case 29: // a chosen menu item
        return active(R::Highlight);
    case 3:  // inactive caption
    case 28: // the far end of the inactive caption's gradient
        return inactive(R::Highlight);
    case 9:  // active caption's text
    case 14: // selected text
        return active(R::HighlightedText);
    case 19: // inactive caption's text
        return inactive(R::HighlightedText);
    case 5: // window
        return active(R::Base);
    case 7: // menu text
    case 8: // window text
        return active(R::WindowText);
    case 17: // greyed text
        return p.color(QPalette::Disabled, R::Text);
    case 18: // button text
        return active(R::ButtonText);
    case 16: // button shadow
        return active(R::Mid);
    case 20: // button highlight
    case 22: // light edge
        return active(R::Light);
    case 21: // dark shadow
        return active(R::Shadow);
    case 23: // tooltip text
        return active(R::ToolTipText);
    case 24: // tooltip background
        return active(R::ToolTipBase);
    case 26: // hot-tracked item
        return active(R::Link);
    default: // desktop, menus, faces, frames and borders
        return active(R::Window);
    }
}

} // namespace

QColor colourOf(qint32 value, const QPalette &palette)
{
    if (value < 0)
        return systemColour(value & 255, palette);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

Qt::Edges resizeEdges(QPoint p, QSize window, int border, int corner)
{
    const int w = window.width();
    const int h = window.height();
    if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h)
        return {};
    const bool nearLeft = p.x() < border, nearRight = p.x() >= w - border;
    const bool nearTop = p.y() < border, nearBottom = p.y() >= h - border;
    if (!nearLeft && !nearRight && !nearTop && !nearBottom)
        return {};
    // Along an edge, the last stretch before a corner resizes both ways,
    // as a window manager's frame does.
    Qt::Edges edges;
    if (nearLeft || ((nearTop || nearBottom) && p.x() < corner))
        edges |= Qt::LeftEdge;
    if (nearRight || ((nearTop || nearBottom) && p.x() >= w - corner))
        edges |= Qt::RightEdge;
    if (nearTop || ((nearLeft || nearRight) && p.y() < corner))
        edges |= Qt::TopEdge;
    if (nearBottom || ((nearLeft || nearRight) && p.y() >= h - corner))
        edges |= Qt::BottomEdge;
    return edges;
}

} // namespace orvane::ui::caption
