#pragma once

#include "adding/progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QRect>
#include <QString>
#include <QTimer>

#include <functional>

class QProgressBar;
class QPushButton;

namespace orvane::ui {

// Shortens a path that is wider than width the way the system's path
// ellipsis does: the file name (after the last "/" or "\") is kept and
// characters go from the end of the folder part, replaced by "...". When
// even "..." and the name are too wide, the name loses characters at its
// end. measure gives a text's width.
QString shortenPath(const QString &path, int width,
                    const std::function<int(const QString &)> &measure);

// The counter line under the bar: "050% (005/010)"; percent rounded.
QString statusCounterText(float percent, qint32 current, qint32 total);

// A rectangle given in twips, in pixels at twipsPerPixel (integer division,
// as the drawing code always did).
QRect twipsToPixels(int left, int top, int right, int bottom, int twipsPerPixel);

// The modeless progress window of long operations: three lines, a bar with
// a counter line, Skip and Cancel. The buttons only raise the flags of
// ProgressSink; the working code polls them.
class frmStatus final : public QDialog, public adding::ProgressSink
{
    Q_OBJECT
public:
    explicit frmStatus(QWidget *parent = nullptr);
    ~frmStatus() override;

    void Show_Status(const QString &line1, const QString &line2, const QString &line3,
                     qint32 current, qint32 total, qint16 skipEnabled,
                     qint16 cancelEnabled) override;

    // What is shown, for the window's owner and tests.
    QString line(int number) const;
    QString counterText() const { return m_counter; }
    int barValue() const;
    QPushButton *cmdSkip() const { return m_cmdSkip; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }
    // Line 2 as drawn, after shortening to its rectangle.
    QString drawnLine2() const;

    // Escape: what Cancel does, while Cancel can be pressed.
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    int twipsPerPixel() const;
    void requestRedraw();
    void redraw();
    QRect area(int left, int top, int right, int bottom) const;

    QString m_lines[3];
    QString m_counter;
    int m_barValue = 0;
    QElapsedTimer m_lastDrawn;
    QTimer m_redrawTimer;
    QProgressBar *m_pgbProcess = nullptr;
    QPushButton *m_cmdSkip = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

} // namespace orvane::ui
