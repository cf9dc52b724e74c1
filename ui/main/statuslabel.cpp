#include "ui/main/statuslabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace orvane::ui {

namespace {

constexpr int kMargin = 1; // pixels; QLabel's text sits at the left edge too

} // namespace

StatusLabel::StatusLabel(QWidget *parent)
    : QWidget(parent)
{
    // The width follows the window, the height the font: never the text.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSize StatusLabel::sizeHint() const
{
    return {fontMetrics().averageCharWidth() * 20, fontMetrics().height()};
}

QSize StatusLabel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void StatusLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    const QRect dirty = changedRect(m_text, text);
    m_text = text;
    setAccessibleName(text);
    if (!dirty.isEmpty())
        update(dirty);
}

// The span from the first to the last character that differs. Digits have
// one width in the fonts a desktop uses, so when the changed middle keeps
// its width the rest of the line stays where it was and is not repainted.
QRect StatusLabel::changedRect(const QString &before, const QString &after) const
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    const QFontMetrics metrics = fontMetrics();
    const int left = kMargin + metrics.horizontalAdvance(before.left(prefix));
    const int beforeEnd = kMargin + metrics.horizontalAdvance(before.left(before.size() - suffix));
    const int afterEnd = kMargin + metrics.horizontalAdvance(after.left(after.size() - suffix));
    int right = std::max(beforeEnd, afterEnd);
    if (beforeEnd != afterEnd || suffix == 0)
        right =
            std::max(metrics.horizontalAdvance(before), metrics.horizontalAdvance(after)) + kMargin;
    // A pixel either side for glyphs that overhang their advance.
    return QRect(left - 1, 0, right - left + 2, height()).intersected(rect());
}

void StatusLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRect box = rect().adjusted(kMargin, 0, -kMargin, 0);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

void StatusLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace orvane::ui
