#pragma once

#include <QString>
#include <QWidget>

namespace orvane::ui {

// The status line under the seek bar (lblStatus). It is rewritten up to 30
// times a second while media plays, so a new text must cost next to
// nothing: the widget's size never depends on its text (no layout pass of
// the window follows a change), and only the part of the line whose
// characters changed is repainted. Screen readers read the text as the
// widget's accessible name.
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
    QRect changedRect(const QString &before, const QString &after) const;

    QString m_text;
};

} // namespace orvane::ui
