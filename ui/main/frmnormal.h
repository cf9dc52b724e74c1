#pragma once

#include <QMainWindow>

namespace orvane::ui {

// The main window. For now it carries the load and close sequences and the
// hand-over from other instances; its panels come later.
class frmNormal : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmNormal(QWidget *parent = nullptr);

    // The load sequence; run once by start-up before the window is shown.
    void Form_Load();
    // The close sequence; runs from the close event and never cancels it.
    void Form_QueryUnload();
    // A second instance handed over its command line: queue it, normalised,
    // for the next processing step. cancel is set to 0 (accepted).
    void Form_LinkExecute(const QString &commandText, int &cancel);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString m_settingsFile;
    bool m_unloaded = false;
};

} // namespace orvane::ui
