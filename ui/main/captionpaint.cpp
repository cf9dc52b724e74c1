// Drawing one look of the own caption into its cached image: background,
// icon, buttons and title, in that order.
#include "ui/main/modsubclass.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace orvane::ui {

namespace {

QStyle::StandardPixmap pixmapOf(caption::ButtonKind kind)
{
    switch (kind) {
    case caption::ButtonKind::Close:
        return QStyle::SP_TitleBarCloseButton;
    case caption::ButtonKind::Maximise:
        return QStyle::SP_TitleBarMaxButton;
    case caption::ButtonKind::Restore:
        return QStyle::SP_TitleBarNormalButton;
    case caption::ButtonKind::Minimise:
        return QStyle::SP_TitleBarMinButton;
    case caption::ButtonKind::Help:
        return QStyle::SP_TitleBarContextHelpButton;
    }
    return QStyle::SP_TitleBarCloseButton;
}

} // namespace

void modSub_Class::drawImage(CaptionImage &image, int look, const caption::Box &rect)
{
    ++m_imagesDrawn;
    image.rect = rect;
    const qreal ratio = m_form->devicePixelRatioF();
    const QSize size(std::max(1, rect.width()), std::max(1, rect.height()));
    image.bitmap = QImage(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.bitmap.setDevicePixelRatio(ratio);
    image.bitmap.fill(Qt::transparent);
    QPainter p(&image.bitmap);
    // Drawn in window coordinates; the image holds the caption rectangle.
    p.translate(-rect.left, -rect.top);
    drawBackground(p, image, look, rect);
    const caption::Metrics m = metrics();
    const caption::Style s = captionStyle();
    const int icon = caption::iconWidth(m, s);
    if (icon > 0 && !m_captionIcon.isNull()) {
        const QRect box = caption::iconBox(rect, m).toRect();
        m_captionIcon.paint(&p, box);
    }
    const caption::Buttons buttons = caption::captionButtons(rect, m, s);
    drawButtons(p, buttons);
    drawTitle(p, look, rect, icon, buttons.reserved);
}

void modSub_Class::drawBackground(QPainter &p, const CaptionImage &image, int look,
                                  const caption::Box &rect)
{
    const QRect target = rect.toRect();
    if (!image.picture.isNull()) {
        if (m_tilePicture) {
            p.drawTiledPixmap(target, image.picture);
        } else {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawPixmap(target, image.picture);
        }
        return;
    }
    const QPalette &pal = m_form->palette();
    const QColor start = caption::colourOf(look ? m_activeStartColor : m_inactiveStartColor, pal);
    const QColor end = caption::colourOf(look ? m_activeEndColor : m_inactiveEndColor, pal);
    for (const caption::Band &band : caption::gradientBands(rect, start, end))
        p.fillRect(QRect(band.left, rect.top, band.width, rect.height()), band.colour);
}

void modSub_Class::drawButtons(QPainter &p, const caption::Buttons &buttons)
{
    QStyle *style = m_form->style();
    for (const caption::Button &button : buttons.buttons) {
        QStyleOptionButton option;
        option.initFrom(m_form);
        option.rect = button.box.toRect();
        option.state =
            QStyle::State_Raised | (button.greyed ? QStyle::State_None : QStyle::State_Enabled);
        option.state &= ~QStyle::State_HasFocus;
        style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, m_form);
        const QIcon glyph = style->standardIcon(pixmapOf(button.kind), &option, m_form);
        const int side = std::max(1, std::min(option.rect.width(), option.rect.height()) - 6);
        QRect glyphBox(0, 0, side, side);
        glyphBox.moveCenter(option.rect.center());
        glyph.paint(&p, glyphBox, Qt::AlignCenter, button.greyed ? QIcon::Disabled : QIcon::Normal);
    }
}

void modSub_Class::drawTitle(QPainter &p, int look, const caption::Box &rect, int iconWidth,
                             int reserved)
{
    // The caption holds what a 255-character buffer would, up to a NUL.
    QString title = m_form->windowTitle().left(254);
    if (const qsizetype nul = title.indexOf(QChar(0)); nul >= 0)
        title.truncate(nul);
    if (title.isEmpty())
        return;
    const QRect box = caption::textRect(rect, iconWidth, reserved).toRect();
    if (box.width() <= 0)
        return;
    p.setFont(m_captionFont);
    p.setPen(caption::colourOf(look ? m_activeTextColor : m_inactiveTextColor, m_form->palette()));
    const QString shown = p.fontMetrics().elidedText(title, Qt::ElideRight, box.width());
    p.drawText(box, int(caption::textAlignment(m_textAlignment)) | Qt::TextSingleLine, shown);
}

} // namespace orvane::ui
