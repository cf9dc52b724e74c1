#pragma once

#include <QHash>
#include <QStaticText>
#include <QString>
#include <QStringView>
#include <QWidget>

namespace orvane::ui {

// The status line under the seek bar (lblStatus). While media plays it is
// rewritten several times a second, so a new text must cost next to
// nothing: the widget's size never depends on its text (no layout pass of
// the window follows a change), only the characters that changed are
// repainted, and each character is laid out once and kept, so a repaint
// shapes no text. Screen readers read the text as the accessible name.
class StatusLabel final : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Glyph {
        QStaticText text;
        int advance = 0;
    };
    const Glyph &glyph(QChar c) const;
    int advance(QStringView text) const;
    QRect changedRect(const QString &before, const QString &after) const;
    void drawByCharacter(QPainter &painter, const QRect &dirty) const;

    QString m_text;
    bool m_simple = true; // every character can be drawn on its own
    mutable QHash<char16_t, Glyph> m_glyphs;
};

// Whether a text looks the same drawn one character at a time: Latin,
// Greek, Cyrillic, kana and CJK ideographs yes; scripts that join or
// reorder their letters, and combining marks, no.
bool drawableByCharacter(QStringView text);

} // namespace orvane::ui
