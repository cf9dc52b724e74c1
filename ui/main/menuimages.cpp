#include "ui/main/menuimages.h"

#include "ui/main/artwork.h"

#include <QApplication>
#include <QIconEngine>
#include <QStyle>

namespace orvane::ui {

namespace {

struct Image {
    const char *toolbarKey; // an image the toolbars share, or nullptr
    const char *theme;
    QStyle::StandardPixmap fallback;
};

// In the order of the menu table's image numbers.
constexpr Image kImages[] = {
    {"open_pl", nullptr, QStyle::SP_DialogOpenButton},              // 1 open
    {"save_pl", nullptr, QStyle::SP_DialogSaveButton},              // 2 save
    {nullptr, "document-save-as", QStyle::SP_DialogSaveButton},     // 3 save as
    {"play", nullptr, QStyle::SP_MediaPlay},                        // 4 play/pause
    {"stop", nullptr, QStyle::SP_MediaStop},                        // 5 stop
    {"reverse", nullptr, QStyle::SP_MediaSkipBackward},             // 6 previous
    {"forward", nullptr, QStyle::SP_MediaSkipForward},              // 7 next
    {nullptr, "media-playlist-repeat", QStyle::SP_BrowserReload},   // 8 repeat all
    {"add_pl", nullptr, QStyle::SP_FileDialogNewFolder},            // 9 add
    {nullptr, "document-edit", QStyle::SP_FileDialogDetailedView},  // 10 edit
    {"delete_pl", nullptr, QStyle::SP_TrashIcon},                   // 11 delete
    {"clear_pl", nullptr, QStyle::SP_DialogResetButton},            // 12 clear
    {"up_pl", nullptr, QStyle::SP_ArrowUp},                         // 13 up
    {"down_pl", nullptr, QStyle::SP_ArrowDown},                     // 14 down
    {"info", nullptr, QStyle::SP_MessageBoxInformation},            // 15 information
    {nullptr, "utilities-system-monitor", QStyle::SP_ComputerIcon}, // 16 statistics
    {nullptr, "preferences-system", QStyle::SP_FileDialogInfoView}, // 17 settings
    {nullptr, "zoom-fit-best", QStyle::SP_TitleBarMaxButton},       // 18 display size
    {nullptr, "help-browser", QStyle::SP_DialogHelpButton},         // 19 contents
    {nullptr, "help-about", QStyle::SP_MessageBoxInformation},      // 20 about
    {nullptr, "video-x-generic", QStyle::SP_MediaPlay},             // 21 first engine
    {nullptr, "audio-x-generic", QStyle::SP_MediaVolume},           // 22 second engine
};

QIcon lookUp(const Image &image)
{
    QIcon icon = image.toolbarKey ? toolbarIcon(QLatin1String(image.toolbarKey))
                                  : QIcon::fromTheme(QLatin1String(image.theme));
    return icon.isNull() ? QApplication::style()->standardIcon(image.fallback) : icon;
}

// An icon that finds its picture on first use.
class DeferredIconEngine final : public QIconEngine
{
public:
    explicit DeferredIconEngine(const Image &image)
        : m_image(image)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("orvane.deferred"); }

private:
    QIcon &icon()
    {
        if (!m_looked) {
            m_icon = lookUp(m_image);
            m_looked = true;
        }
        return m_icon;
    }

    Image m_image;
    QIcon m_icon;
    bool m_looked = false;
};

} // namespace

QList<QIcon> menuImages()
{
    QList<QIcon> images;
    images.reserve(qsizetype(std::size(kImages)));
    for (const Image &image : kImages)
        images.append(QIcon(new DeferredIconEngine(image)));
    return images;
}

} // namespace orvane::ui
