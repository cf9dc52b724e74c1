#include "ui/main/artwork.h"

#include "core/programpaths.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace orvane::ui {

namespace {

const QColor kNight(0x05, 0x08, 0x10);
const QColor kDusk(0x20, 0x2a, 0x44);
const QColor kGlow(0x9f, 0xc4, 0xff);

// The program's mark: a ring with a play triangle inside, centred in box.
void drawMark(QPainter &p, const QRectF &box, const QColor &ring, const QColor &triangle)
{
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(box.width(), box.height());
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    QPen pen(ring);
    pen.setWidthF(std::max(1.5, side / 9));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double inset = pen.widthF() / 2 + 0.5;
    p.drawEllipse(square.adjusted(inset, inset, -inset, -inset));
    const double r = side * 0.22;
    const QPointF c = square.center() + QPointF(r * 0.15, 0);
    const QPointF points[] = {c + QPointF(-r * 0.6, -r), c + QPointF(-r * 0.6, r),
                              c + QPointF(r, 0)};
    p.setPen(Qt::NoPen);
    p.setBrush(triangle);
    p.drawPolygon(points, 3);
}

QPixmap gradientPixmap(int width, int height, const QColor &top, const QColor &bottom)
{
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(pixmap.rect(), sky);
    return pixmap;
}

QPixmap captionPicture(bool active)
{
    // Stretched across the caption: a picture of its own height whose
    // rows carry the whole design, so any width keeps it clean. A bright
    // rim at the top, then sky falling into night.
    QPixmap pixmap =
        active ? gradientPixmap(23, 23, QColor(0x3a, 0x5e, 0xa8), kNight)
               : gradientPixmap(23, 23, QColor(0x74, 0x78, 0x82), QColor(0x34, 0x36, 0x3c));
    QPainter p(&pixmap);
    p.setPen(active ? kGlow : QColor(0xb0, 0xb4, 0xbc));
    p.drawLine(0, 0, 22, 0);
    return pixmap;
}

// The program's name in the glow colour, bold, as the pictures show it.
void drawTitle(QPainter &p, const QRect &box, int pixelSize, Qt::Alignment alignment)
{
    p.setPen(kGlow);
    QFont title(QApplication::font());
    title.setPixelSize(pixelSize);
    title.setBold(true);
    p.setFont(title);
    p.drawText(box, alignment, QStringLiteral("Orvane"));
}

QPixmap menuPicture()
{
    QPixmap pixmap = gradientPixmap(180, 50, kDusk, kNight);
    QPainter p(&pixmap);
    drawMark(p, QRectF(6, 7, 36, 36), kGlow, QColor(255, 255, 0));
    drawTitle(p, QRect(50, 0, 126, 50), 22, Qt::AlignLeft | Qt::AlignVCenter);
    return pixmap;
}

QPixmap aboutPicture()
{
    QPixmap pixmap = gradientPixmap(320, 240, kDusk, kNight);
    QPainter p(&pixmap);
    drawMark(p, QRectF(110, 24, 100, 100), kGlow, QColor(255, 255, 0));
    drawTitle(p, QRect(0, 132, 320, 44), 34, Qt::AlignCenter);
    QFont small(QApplication::font());
    small.setPixelSize(13);
    small.setItalic(true);
    p.setFont(small);
    p.setPen(QColor(0xd0, 0xd8, 0xe8));
    p.drawText(QRect(0, 180, 320, 40), Qt::AlignCenter, QStringLiteral("media player"));
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    // The installation's own icon files beside its data (an installed,
    // unpacked or moved package has them); the build tree draws the mark at
    // the sizes a caption, a task bar and a switcher ask for. The icon
    // theme is not asked: a miss there walks every folder of the theme,
    // some 7 ms of every start, for an icon only Orvane installs anyway.
    QIcon installed;
    for (const QString &file : core::installedIconFiles())
        installed.addFile(file);
    if (!installed.isNull())
        return installed;
    QIcon drawn;
    for (const int side : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        drawMark(p, QRectF(0, 0, side, side), kGlow, QColor(255, 255, 0));
        p.end();
        drawn.addPixmap(pixmap);
    }
    return drawn;
}

QPixmap resourcePicture(int id)
{
    switch (id) {
    case kPictureCaptionActive:
        return captionPicture(true);
    case kPictureCaptionInactive:
        return captionPicture(false);
    case kPictureMenu:
        return menuPicture();
    case kPictureLogo:
        return logoPicture();
    case kPictureAbout:
        return aboutPicture();
    default:
        return {};
    }
}

QPixmap logoPicture()
{
    QPixmap logo(300, 70);
    QPainter p(&logo);
    QLinearGradient sky(0, 0, 0, 70);
    sky.setColorAt(0, QColor(0x20, 0x2a, 0x44));
    sky.setColorAt(1, QColor(0x05, 0x08, 0x10));
    p.fillRect(logo.rect(), sky);
    p.setPen(QColor(0x9f, 0xc4, 0xff));
    QFont title(QApplication::font());
    title.setPixelSize(24);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(10, 2, 280, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvane"));

    QFont small(QApplication::font());
    small.setPointSize(11);
    small.setBold(true);
    small.setItalic(true);
    p.setFont(small);
    p.setPen(QColor(255, 255, 0));
    const QStringList lines = kCopyrightLines.split(QLatin1Char('\n'));
    const int lineHeight = QFontMetrics(small).height();
    for (int i = 0; i < lines.size(); ++i) {
        const int top = logo.height() - lineHeight * (int(lines.size()) - i);
        p.drawText(QRect(0, top, logo.width() - 2, lineHeight), Qt::AlignRight,
                   QLatin1Char(' ') + lines.at(i));
    }
    return logo;
}

QIcon toolbarIcon(const QString &key)
{
    struct Source {
        const char *theme;
        QStyle::StandardPixmap fallback;
    };
    static const QHash<QString, Source> sources = {
        {QStringLiteral("play"), {"media-playback-start", QStyle::SP_MediaPlay}},
        {QStringLiteral("pause"), {"media-playback-pause", QStyle::SP_MediaPause}},
        {QStringLiteral("stop"), {"media-playback-stop", QStyle::SP_MediaStop}},
        {QStringLiteral("reverse"), {"media-skip-backward", QStyle::SP_MediaSkipBackward}},
        {QStringLiteral("forward"), {"media-skip-forward", QStyle::SP_MediaSkipForward}},
        {QStringLiteral("sound"), {"audio-volume-high", QStyle::SP_MediaVolume}},
        {QStringLiteral("nosound"), {"audio-volume-muted", QStyle::SP_MediaVolumeMuted}},
        {QStringLiteral("open_pl"), {"document-open", QStyle::SP_DialogOpenButton}},
        {QStringLiteral("save_pl"), {"document-save", QStyle::SP_DialogSaveButton}},
        {QStringLiteral("add_pl"), {"list-add", QStyle::SP_FileDialogNewFolder}},
        {QStringLiteral("delete_pl"), {"list-remove", QStyle::SP_TrashIcon}},
        {QStringLiteral("clear_pl"), {"edit-clear-all", QStyle::SP_DialogResetButton}},
        {QStringLiteral("down_pl"), {"go-down", QStyle::SP_ArrowDown}},
        {QStringLiteral("up_pl"), {"go-up", QStyle::SP_ArrowUp}},
        {QStringLiteral("info"), {"dialog-information", QStyle::SP_MessageBoxInformation}},
    };
    // The toolbars and the menus share these; a theme lookup walks folders,
    // so each is looked up once.
    static QHash<QString, QIcon> found;
    if (const auto cached = found.constFind(key); cached != found.constEnd())
        return *cached;
    // Outside a desktop session Qt knows no theme; Adwaita is installed.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    const auto it = sources.constFind(key);
    if (it == sources.constEnd())
        return {};
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(it->theme));
    return found[key] =
               themed.isNull() ? QApplication::style()->standardIcon(it->fallback) : themed;
}

} // namespace orvane::ui
