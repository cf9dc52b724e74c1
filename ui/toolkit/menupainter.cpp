#include "ui/toolkit/menupainter.h"

#include "ui/toolkit/clsactivemenu.h"
#include "ui/toolkit/menumeasure.h"
#include "ui/toolkit/windowmessage.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

namespace orvane::ui::toolkit {

namespace {

// The system colours of the rules, taken from the palette.
QColor menuColour(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Window);
}
QColor menuTextColour(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::WindowText);
}
QColor grayTextColour(const QPalette &palette)
{
    return palette.color(QPalette::Disabled, QPalette::WindowText);
}
QColor embossLightColour(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Light);
}
QColor embossShadowColour(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Dark);
}

void drawEdgeLines(QPainter &painter, const EdgeRect &r, const QColor &topLeft,
                   const QColor &bottomRight, int sides)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    painter.setPen(topLeft);
    if (sides & BF_TOP)
        painter.drawLine(r.left, r.top, r.right - 1, r.top);
    if (sides & BF_LEFT)
        painter.drawLine(r.left, r.top, r.left, r.bottom - 1);
    painter.setPen(bottomRight);
    if (sides & BF_BOTTOM)
        painter.drawLine(r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
    if (sides & BF_RIGHT)
        painter.drawLine(r.right - 1, r.top, r.right - 1, r.bottom - 1);
}

// A picture in the disabled, embossed look: its dark pixels once in the
// light colour one pixel down and right, then in the shadow colour.
QPixmap embossed(const QPixmap &source, const QPalette &palette)
{
    const QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage result(image.width() + 1, image.height() + 1, QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    const QRgb light = embossLightColour(palette).rgba();
    const QRgb shadow = embossShadowColour(palette).rgba();
    for (int pass = 0; pass < 2; ++pass) {
        const int offset = pass == 0 ? 1 : 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) >= 128 && qGray(pixel) < 192)
                    result.setPixel(x + offset, y + offset, pass == 0 ? light : shadow);
            }
        }
    }
    return QPixmap::fromImage(result);
}

void drawEmbossedText(QPainter &painter, const QRect &area, int flags, const QString &text,
                      const QPalette &palette)
{
    painter.setPen(embossLightColour(palette));
    painter.drawText(area.translated(1, 1), flags, text);
    painter.setPen(embossShadowColour(palette));
    painter.drawText(area, flags, text);
}

// The check mark or the radio bullet in a box of the check-mark size.
void drawCheckMark(QPainter &painter, QPoint topLeft, bool bullet, const QColor &colour)
{
    painter.save();
    painter.translate(topLeft);
    if (bullet) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(3.5, 3.5, 6.0, 6.0));
    } else {
        painter.setPen(colour);
        for (int i = 0; i < 3; ++i) {
            painter.drawLine(3, 5 + i, 5, 7 + i);
            painter.drawLine(5, 7 + i, 9, 3 + i);
        }
    }
    painter.restore();
}

struct ItemFacts {
    bool selected;
    bool grayed;
    bool checked;
    bool embossed;
    QColor textColour;
};

void drawBackground(QPainter &painter, const MenuItemPaintInput &in, const MenuItemLayout &layout,
                    ItemFacts &facts)
{
    const bool highlight =
        facts.selected && in.style != 2 && !((in.state & ODS_DISABLED) && in.disabledLook);
    EdgeRect fill = layout.item;
    if (highlight) {
        if (in.imageIndex > 0 || facts.checked) {
            if ((in.style != 0 && in.style != 1) || (in.style == 1 && facts.checked))
                fill.left = layout.iconColumn.right + 1;
        }
        painter.fillRect(fill.toRect(), in.palette.color(QPalette::Active, QPalette::Highlight));
        facts.textColour = facts.grayed
                               ? grayTextColour(in.palette)
                               : in.palette.color(QPalette::Active, QPalette::HighlightedText);
    } else {
        painter.fillRect(fill.toRect(), menuColour(in.palette));
        facts.textColour = facts.grayed ? grayTextColour(in.palette) : menuTextColour(in.palette);
    }
}

void drawTextItem(QPainter &painter, const MenuItemPaintInput &in, const EdgeRect &text,
                  const ItemFacts &facts)
{
    QFont font = in.font;
    font.setBold(in.font.bold() || (in.state & ODS_DEFAULT));
    painter.setFont(font);
    constexpr int kLine = Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!facts.embossed) {
        painter.setPen(facts.textColour);
        painter.drawText(text.toRect(), kLine | Qt::AlignLeft | Qt::AlignVCenter, in.caption);
        painter.drawText(text.toRect(), kLine | Qt::AlignRight | Qt::AlignVCenter,
                         in.accessCaption);
        return;
    }
    const int y = roundHalfEven(text.top + ((text.bottom - text.top) - in.textRect.height()) / 2.0);
    const QRect line(text.left, y, text.right - text.left, qMax(in.textRect.height(), 1));
    drawEmbossedText(painter, line, kLine | Qt::AlignLeft | Qt::AlignTop, in.caption, in.palette);
    drawEmbossedText(painter, line, kLine | Qt::AlignRight | Qt::AlignTop, in.accessCaption,
                     in.palette);
}

void drawBitmapItem(QPainter &painter, const MenuItemPaintInput &in, const EdgeRect &text,
                    const ItemFacts &facts)
{
    if (in.bitmap.isNull())
        return;
    const QSize size = in.bitmap.deviceIndependentSize().toSize();
    const QPoint at(text.left,
                    roundHalfEven(text.top + ((text.bottom - text.top) - size.height()) / 2.0));
    if (facts.embossed) {
        painter.drawPixmap(at, embossed(in.bitmap, in.palette));
        return;
    }
    painter.drawPixmap(at, in.bitmap);
    // The selected picture is shown inverted against the highlight; raster
    // operations exist only on raster devices, elsewhere it stays plain.
    if (facts.selected && in.style != 2 && painter.paintEngine() &&
        painter.paintEngine()->type() == QPaintEngine::Raster) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceAndNotDestination);
        painter.drawPixmap(at, in.bitmap);
        painter.restore();
    }
}

void drawItemIcon(QPainter &painter, const MenuItemPaintInput &in, const EdgeRect &box,
                  const ItemFacts &facts)
{
    if (in.style == 0 && !facts.checked)
        return;
    if (in.imageIndex > 0 && !in.icon.isNull()) {
        const QPixmap picture = in.icon.pixmap(in.iconColumn);
        painter.drawPixmap(box.left, box.top,
                           (in.state & ODS_GRAYED) ? embossed(picture, in.palette) : picture);
        return;
    }
    if (!facts.checked)
        return;
    const int x = roundHalfEven(box.left + ((box.right - box.left) - kMenuCheckSize) / 2.0);
    const int y = roundHalfEven(box.top + ((box.bottom - box.top) - kMenuCheckSize) / 2.0);
    drawCheckMark(painter, QPoint(x, y), in.type & MFT_RADIOCHECK, facts.textColour);
}

} // namespace

MenuItemLayout layoutMenuItem(const QRect &rect, QSize iconColumn)
{
    MenuItemLayout layout;
    const int iconWidth = iconColumn.width();
    const int iconHeight = iconColumn.height();
    layout.item = EdgeRect::from(rect);
    const EdgeRect &r = layout.item;
    layout.iconColumn = r;
    layout.iconColumn.right = r.left + iconWidth + 2;
    layout.iconBox.left = r.left + 1;
    layout.iconBox.top = roundHalfEven(r.top + 1 + ((r.bottom - r.top) - iconHeight - 2) / 2.0);
    layout.iconBox.right = layout.iconBox.left + iconWidth + 1;
    layout.iconBox.bottom = layout.iconBox.top + iconHeight + 1;
    layout.text = {layout.iconColumn.right + 3, r.top, r.right - 15, r.bottom};
    return layout;
}

void drawEdge(QPainter &painter, EdgeRect rect, int edge, int sides, const QPalette &palette)
{
    const QColor highlight = palette.color(QPalette::Active, QPalette::Light);
    const QColor light = palette.color(QPalette::Active, QPalette::Midlight);
    const QColor shadow = palette.color(QPalette::Active, QPalette::Dark);
    const QColor darkShadow = palette.color(QPalette::Active, QPalette::Shadow);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) {
        if (edge & BDR_RAISEDOUTER)
            drawEdgeLines(painter, rect, light, darkShadow, sides);
        else
            drawEdgeLines(painter, rect, shadow, highlight, sides);
        rect.left += (sides & BF_LEFT) ? 1 : 0;
        rect.top += (sides & BF_TOP) ? 1 : 0;
        rect.right -= (sides & BF_RIGHT) ? 1 : 0;
        rect.bottom -= (sides & BF_BOTTOM) ? 1 : 0;
    }
    if (edge & BDR_RAISEDINNER)
        drawEdgeLines(painter, rect, highlight, shadow, sides);
    else if (edge & BDR_SUNKENINNER)
        drawEdgeLines(painter, rect, darkShadow, light, sides);
    painter.restore();
}

void paintMenuItem(QPainter &painter, const MenuItemPaintInput &in)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const MenuItemLayout layout = layoutMenuItem(in.rect, in.iconColumn);
    if (in.type & MFT_SEPARATOR) {
        EdgeRect line = layout.item;
        line.top = roundHalfEven(line.top + (line.bottom - line.top) / 2.0);
        line.left += 2;
        line.right -= 2;
        drawEdge(painter, line, EDGE_ETCHED, BF_TOP, in.palette);
        painter.restore();
        return;
    }
    ItemFacts facts{};
    facts.selected = in.state & ODS_SELECTED;
    facts.grayed = in.state & ODS_GRAYED;
    facts.checked = in.state & ODS_CHECKED;
    facts.embossed = facts.grayed && in.disabledLook;
    drawBackground(painter, in, layout, facts);
    if (in.type & MFT_BITMAP)
        drawBitmapItem(painter, in, layout.text, facts);
    else
        drawTextItem(painter, in, layout.text, facts);
    drawItemIcon(painter, in, layout.iconBox, facts);
    if (in.style != 0 && facts.checked)
        drawEdge(painter, layout.iconColumn, BDR_SUNKENOUTER, BF_RECT, in.palette);
    if (facts.selected) {
        if (in.style == 2 && !facts.embossed) {
            EdgeRect frame = layout.item;
            if (facts.checked)
                frame.left = layout.iconColumn.right + 1;
            drawEdge(painter, frame, BDR_RAISEDINNER, BF_RECT, in.palette);
        } else if (in.style == 3 && in.imageIndex > 0 && !facts.embossed && !facts.checked) {
            drawEdge(painter, layout.iconColumn, BDR_RAISEDINNER, BF_RECT, in.palette);
        }
    }
    painter.restore();
}

} // namespace orvane::ui::toolkit
