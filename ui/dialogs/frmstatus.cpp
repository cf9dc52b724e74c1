#include "ui/dialogs/frmstatus.h"

#include "core/language.h"
#include "ui/toolkit/placenearcursor.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QtMath>

namespace orvane::ui {

namespace {

const QString kEllipsis = QStringLiteral("...");

// The drawing rectangles, twips: left, top, right, bottom.
struct TwipsRect {
    int left, top, right, bottom;
};
constexpr TwipsRect kLineRects[3] = {{0, 0, 6015, 255}, {0, 290, 6015, 495}, {0, 530, 6015, 735}};
constexpr TwipsRect kCounterRect = {0, 1010, 3615, 1215};
constexpr TwipsRect kBarRect = {0, 770, 6015, 975};
constexpr TwipsRect kSkipRect = {3735, 980, 4815, 1330};
constexpr TwipsRect kCancelRect = {4935, 980, 6015, 1330};
constexpr int kClientWidth = 6015;
constexpr int kClientHeight = 1330;
constexpr int kMarginPixels = 8;
// A list of thousands of quick steps would otherwise spend more time
// drawing than working; nobody reads faster than the screen refreshes.
constexpr int kRedrawIntervalMs = 16;

QString statusDialogText(const char *key)
{
    return core::GetText(QStringLiteral("StatusDialog"), QString::fromLatin1(key));
}

// 0 disables, 1 leaves as it is, anything else enables.
void applyEnabled(QPushButton *button, qint16 how)
{
    if (how == 0)
        button->setEnabled(false);
    else if (how != 1)
        button->setEnabled(true);
}

} // namespace

QString shortenPath(const QString &path, int width,
                    const std::function<int(const QString &)> &measure)
{
    if (measure(path) <= width)
        return path;
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = cut >= 0 ? path.mid(cut) : path;
    const QString folder = cut >= 0 ? path.left(cut) : QString();
    // The longest start of the folder that still fits (widths grow with length).
    qsizetype low = 0;
    qsizetype high = folder.size();
    if (measure(kEllipsis + name) <= width) {
        while (low < high) {
            const qsizetype mid = (low + high + 1) / 2;
            if (measure(folder.left(mid) + kEllipsis + name) <= width)
                low = mid;
            else
                high = mid - 1;
        }
        return folder.left(low) + kEllipsis + name;
    }
    high = name.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (measure(kEllipsis + name.left(mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return kEllipsis + name.left(low);
}

QString statusCounterText(float percent, qint32 current, qint32 total)
{
    const auto padded = [](qint64 value) {
        return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
    };
    return padded(qRound64(percent)) + QStringLiteral("% (") + padded(current) + u'/' +
           padded(total) + u')';
}

QRect twipsToPixels(int left, int top, int right, int bottom, int twipsPerPixel)
{
    const int tpp = std::max(1, twipsPerPixel);
    return QRect(QPoint(left / tpp, top / tpp), QPoint(right / tpp - 1, bottom / tpp - 1));
}

frmStatus::frmStatus(QWidget *parent)
    : QDialog(parent)
{
    setModal(false);
    setWindowTitle(statusDialogText("Caption"));
    m_pgbProcess = new QProgressBar(this);
    m_pgbProcess->setRange(0, 100);
    m_pgbProcess->setValue(0);
    m_pgbProcess->setTextVisible(false);
    m_cmdSkip = new QPushButton(statusDialogText("Skip"), this);
    m_cmdCancel = new QPushButton(statusDialogText("Cancel"), this);
    m_cmdSkip->setAutoDefault(false);
    m_cmdCancel->setAutoDefault(false);
    m_pgbProcess->setGeometry(area(kBarRect.left, kBarRect.top, kBarRect.right, kBarRect.bottom));
    m_cmdSkip->setGeometry(area(kSkipRect.left, kSkipRect.top, kSkipRect.right, kSkipRect.bottom));
    m_cmdCancel->setGeometry(
        area(kCancelRect.left, kCancelRect.top, kCancelRect.right, kCancelRect.bottom));
    setFixedSize(kClientWidth / twipsPerPixel() + 2 * kMarginPixels,
                 kClientHeight / twipsPerPixel() + 2 * kMarginPixels);
    connect(m_cmdSkip, &QPushButton::clicked, this, [this] { SkipRequested = true; });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] {
        SkipRequested = true;
        CancelRequested = true;
    });
    m_redrawTimer.setSingleShot(true);
    connect(&m_redrawTimer, &QTimer::timeout, this, &frmStatus::redraw);
    SkipRequested = false;
    CancelRequested = false;
    PlaceNearCursor(this);
}

frmStatus::~frmStatus() = default;

int frmStatus::twipsPerPixel() const
{
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    return std::max(1, 1440 / dpi);
}

QRect frmStatus::area(int left, int top, int right, int bottom) const
{
    return twipsToPixels(left, top, right, bottom, twipsPerPixel())
        .translated(kMarginPixels, kMarginPixels);
}

void frmStatus::Show_Status(const QString &line1, const QString &line2, const QString &line3,
                            qint32 current, qint32 total, qint16 skipEnabled, qint16 cancelEnabled)
{
    const QString *given[3] = {&line1, &line2, &line3};
    for (int i = 0; i < 3; ++i) {
        if (*given[i] != adding::kKeepLine)
            m_lines[i] = *given[i];
    }
    if (current == -1 || total == -1) {
        m_barValue = 0;
        m_counter.clear();
    } else if (total != 0) {
        const float percent = float(current) / float(total) * 100.0f;
        m_barValue = qBound(0, qRound(percent), 100);
        m_counter = statusCounterText(percent, current, total);
    }
    applyEnabled(m_cmdSkip, skipEnabled);
    applyEnabled(m_cmdCancel, cancelEnabled);
    requestRedraw();
}

void frmStatus::requestRedraw()
{
    if (m_redrawTimer.isActive())
        return;
    if (!m_lastDrawn.isValid() || m_lastDrawn.elapsed() >= kRedrawIntervalMs)
        redraw();
    else
        m_redrawTimer.start(kRedrawIntervalMs - int(m_lastDrawn.elapsed()));
}

void frmStatus::redraw()
{
    m_lastDrawn.start();
    m_pgbProcess->setValue(m_barValue);
    update();
}

QString frmStatus::line(int number) const
{
    return number >= 1 && number <= 3 ? m_lines[number - 1] : QString();
}

int frmStatus::barValue() const
{
    return m_barValue;
}

QString frmStatus::drawnLine2() const
{
    const QFontMetrics metrics(font());
    const TwipsRect &r = kLineRects[1];
    return shortenPath(m_lines[1], area(r.left, r.top, r.right, r.bottom).width(),
                       [&](const QString &text) { return metrics.horizontalAdvance(text); });
}

void frmStatus::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    for (int i = 0; i < 3; ++i) {
        const TwipsRect &r = kLineRects[i];
        const QString text = i == 1 ? drawnLine2() : m_lines[i];
        painter.drawText(area(r.left, r.top, r.right, r.bottom),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    const TwipsRect &c = kCounterRect;
    painter.drawText(area(c.left, c.top, c.right, c.bottom),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, m_counter);
}

// A dialog hides itself on Escape; this one would go while the work went
// on, and with it the only way to skip or cancel. The working code owns
// the window, so the key asks, as the button does.
void frmStatus::reject()
{
    if (m_cmdCancel->isEnabled())
        m_cmdCancel->click();
}

void frmStatus::closeEvent(QCloseEvent *event)
{
    // The working code owns the window: closing it asks the work to stop.
    SkipRequested = true;
    CancelRequested = true;
    event->ignore();
}

} // namespace orvane::ui
