#pragma once

#include "ui/main/captionrules.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QWidget;

namespace orvane::ui {

class CaptionBar;

// The main window's own caption and the two other jobs of its window
// procedure. The painter makes the window frameless and draws, at its
// top, a caption of the program's own (a picture or gradient, the icon,
// the buttons and the title in its own font and colours, an active and an
// inactive look); the window manager's frame comes back when it is
// removed. Whatever the painter does, the media keys run Play commands
// while the window is active.
class modSub_Class final : public QObject
{
    Q_OBJECT
public:
    explicit modSub_Class(QObject *parent = nullptr);
    ~modSub_Class() override;

    void SetCaptionForm(QWidget *form);
    // Colours as setting.ini and the language files hold them: 0x00BBGGRR,
    // a negative value naming a system colour.
    void SetActiveTextColor(qint32 colour);
    void SetInactiveTextColor(qint32 colour);
    void SetActivePicture(const QPixmap &picture);
    void SetInactivePicture(const QPixmap &picture);
    // 1 right, 2 centre, anything else left.
    void SetTextAlignment(int alignment);
    void SetFontBold(bool on);
    void SetFontItalic(bool on);

    // The Play menu's command runner the media keys call with 11 (play or
    // pause), 12 (stop), 14 (previous) and 15 (next).
    void setPlayCommand(std::function<void(int)> run) { m_playCommand = std::move(run); }

    // The window procedure: media keys from now on.
    void InstallWndProc(QWidget *window);
    void RemoveWndProc();
    // The own caption on and off; the window stays where it is. A closing
    // window keeps its frame as it is: only the painter's images go.
    enum class Frame { HandBack, Keep };
    void InstallPainter();
    void RemovePainter(Frame frame = Frame::HandBack);
    // Draws both looks anew at their next showing (a null window is the
    // caption form's).
    void RefreshCaption(QWidget *window = nullptr);
    // Shows the current look, drawing it first only when its cached image
    // was made for another caption rectangle.
    void PaintCaption(QWidget *window);

    bool painterInstalled() const { return m_painterInstalled; }
    bool isActive() const { return m_isActive; }
    // The cached image of a look (0 inactive, 1 active), and how often any
    // look was drawn: moving the pointer must not add to it.
    const QImage &cachedImage(int look) const { return m_cache.at(size_t(look & 1)).bitmap; }
    int imagesDrawn() const { return m_imagesDrawn; }
    // The caption's geometry now, in window coordinates.
    caption::Box captionRect() const;
    caption::Buttons captionButtons() const;
    caption::Style captionStyle() const;
    caption::Metrics metrics() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class KeyFilter;
    struct CaptionImage {
        QImage bitmap;
        caption::Box rect; // what the image was drawn for; top -1 = none
        QPixmap picture;   // null: the gradient
    };

    bool windowEvent(QEvent *event);
    bool mediaKey(QObject *receiver, QEvent *event);
    bool frameMouse(QEvent *event);
    void paintFrame();
    void drawImage(CaptionImage &image, int look, const caption::Box &rect);
    void drawBackground(QPainter &p, const CaptionImage &image, int look, const caption::Box &rect);
    void drawButtons(QPainter &p, const caption::Buttons &buttons);
    void drawTitle(QPainter &p, int look, const caption::Box &rect, int iconWidth, int reserved);
    void ChooseIcon(const QIcon &requested);
    QFont CreateCaptionFont() const;
    void setOwnFrame(bool own);
    void placeCaptionBar();

    QPointer<QWidget> m_form;         // CaptionForm
    QPointer<QWidget> m_hookedWindow; // HookedWindow
    QPointer<CaptionBar> m_bar;
    bool m_painterInstalled = false;
    bool m_isActive = true;
    bool m_inWndProc = false;
    std::array<CaptionImage, 2> m_cache; // 0 inactive, 1 active
    QFont m_captionFont;
    bool m_hasFont = false;
    QIcon m_captionIcon;
    // No setter reaches the gradient's ends: a look without a picture is
    // black.
    qint32 m_activeStartColor = 0, m_activeEndColor = 0;
    qint32 m_inactiveStartColor = 0, m_inactiveEndColor = 0;
    qint32 m_activeTextColor = 0, m_inactiveTextColor = 0;
    int m_textAlignment = 0;
    bool m_fontBold = false, m_fontItalic = false, m_fontUnderline = false;
    bool m_tilePicture = false;
    int m_imagesDrawn = 0;
    mutable caption::Metrics m_metrics;
    mutable int m_metricsDpi = 0; // what m_metrics was measured at; 0 = not yet
    std::function<void(int)> m_playCommand;
    std::unique_ptr<KeyFilter> m_keyFilter;
};

} // namespace orvane::ui
