#include "ui/main/statuslabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace orvane::ui {

namespace {

constexpr int kMargin = 1;      // pixels; QLabel's text sits at the left edge too
constexpr int kOverhang = 2;    // pixels a glyph may reach beyond its advance
constexpr int kMaxGlyphs = 512; // kept layouts; the status line needs a few dozen

bool simpleCharacter(char16_t c)
{
    if (c < 0x0300)
        return true;
    if (c >= 0x0370 && c < 0x0590) // Greek, Cyrillic, Armenian
        return true;
    // CJK punctuation, kana, ideographs, Hangul syllables, full-width forms.
    return (c >= 0x3000 && c < 0xA000) || (c >= 0xAC00 && c < 0xD7B0) ||
           (c >= 0xFF00 && c < 0xFFF0);
}

} // namespace

bool drawableByCharacter(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return simpleCharacter(c.unicode()); });
}

StatusLabel::StatusLabel(QWidget *parent)
    : QWidget(parent)
{
    // The width follows the window, the height the font: never the text.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // The label fills its own background, so nothing behind it is painted
    // again for a new text.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    const bool simple = drawableByCharacter(text);
    const QRect dirty = simple && m_simple ? changedRect(m_text, text) : rect();
    m_text = text;
    m_simple = simple;
    setAccessibleName(text);
    if (!dirty.isEmpty())
        update(dirty);
}

const StatusLabel::Glyph &StatusLabel::glyph(QChar c) const
{
    auto it = m_glyphs.constFind(c.unicode());
    if (it != m_glyphs.constEnd())
        return *it;
    if (m_glyphs.size() >= kMaxGlyphs)
        m_glyphs.clear();
    Glyph made;
    made.text = QStaticText(QString(c));
    made.text.setTextFormat(Qt::PlainText);
    made.text.prepare(QTransform(), font());
    made.advance = fontMetrics().horizontalAdvance(c);
    return *m_glyphs.insert(c.unicode(), made);
}

int StatusLabel::advance(QStringView text) const
{
    int width = 0;
    for (const QChar c : text)
        width += glyph(c).advance;
    return width;
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
    const QStringView was(before);
    const QStringView now(after);
    const int left = kMargin + advance(was.left(prefix));
    const int wasMiddle = advance(was.mid(prefix, before.size() - prefix - suffix));
    const int nowMiddle = advance(now.mid(prefix, after.size() - prefix - suffix));
    int right = left + std::max(wasMiddle, nowMiddle);
    if (wasMiddle != nowMiddle || suffix == 0)
        right = width(); // the tail moves: everything after the change
    return QRect(left - kOverhang, 0, right - left + 2 * kOverhang, height()).intersected(rect());
}

void StatusLabel::drawByCharacter(QPainter &painter, const QRect &dirty) const
{
    const int top = (height() - fontMetrics().height()) / 2;
    int x = kMargin;
    for (const QChar c : m_text) {
        const Glyph &g = glyph(c);
        if (x > dirty.right() + kOverhang)
            break;
        if (x + g.advance >= dirty.left() - kOverhang)
            painter.drawStaticText(x, top, g.text);
        x += g.advance;
    }
}

void StatusLabel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(backgroundRole()));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    if (m_simple) {
        drawByCharacter(painter, event->rect());
        return;
    }
    const QRect box = rect().adjusted(kMargin, 0, -kMargin, 0);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

void StatusLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_glyphs.clear();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

} // namespace orvane::ui
