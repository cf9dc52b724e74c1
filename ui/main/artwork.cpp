#include "ui/main/artwork.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>

namespace orvane::ui {

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
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(10, 4, 280, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvane"));

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
    // Outside a desktop session Qt knows no theme; Adwaita is installed.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    const auto it = sources.constFind(key);
    if (it == sources.constEnd())
        return {};
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(it->theme));
    return themed.isNull() ? QApplication::style()->standardIcon(it->fallback) : themed;
}

} // namespace orvane::ui
