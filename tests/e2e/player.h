#pragma once

#include "tests/e2e/atspi.h"
#include "tests/e2e/desktop.h"
#include "tests/support/processes.h"

#include <QHash>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

namespace orvane::e2e {

// The real orvane program on a Desktop, as a user starts it from a
// launcher: no standard input, a program folder of its own (so its
// setting.ini is private), real sound and a real window. The test drives it
// with real input (xdotool over XTEST) and reads it through accessibility
// and MPRIS, as a user's screen reader and sound applet would.
class Player
{
public:
    Player(Desktop &desktop, const test::ProgramFolder &folder);
    ~Player();
    Player(const Player &) = delete;
    Player &operator=(const Player &) = delete;

    // Before start(): whether the program publishes its widgets to the
    // accessibility bus (on by default; the tests read it that way). A
    // benchmark turns it off, as most desktops run without a screen reader.
    void setAccessibility(bool on) { m_accessibility = on; }
    // Before start(): one more environment variable for the program.
    void setEnvironment(const QString &name, const QString &value)
    {
        m_extraEnv.insert(name, value);
    }
    // Before start(): another program to run in orvane's place, started the
    // same way (a benchmark's reference: a Qt hello-world, gst-launch-1.0).
    void setProgram(const QString &executable) { m_program = executable; }
    // Before start(): the folder the program starts in, as a shell's "cd"
    // leaves it (the desktop's home when not set).
    void setWorkingDirectory(const QString &folder) { m_workingDirectory = folder; }
    // Starts the program with these arguments; false when it does not run.
    bool start(const QStringList &args = {});
    // Waits (bounded) for the program to end; its exit status, -1 while it
    // still runs, -2 after a crash.
    int waitForExit(int timeoutMs = 10000);
    bool isRunning() const;
    qint64 pid() const;
    // Everything the program printed so far.
    QString log() const;
    // Where the program's GUI thread is now (gdb), for a test that fails
    // because the program stopped answering.
    QString backtrace() const;

    // The main window's X id, once it is mapped (empty when it never is).
    QString window(int timeoutMs = 20000);
    // Where the window manager has the main window on the screen, as
    // xdotool reports it; empty when it cannot be read.
    QRect geometry();
    // Gives the main window the focus (through the window manager).
    bool activate(int timeoutMs = 5000);
    // The X id of a visible window of the program whose title matches the
    // pattern (a dialog), once there is one; empty when none comes.
    QString waitForWindow(const QString &titlePattern, int timeoutMs = 10000);
    // waitForWindow(), then until the window manager has given that window
    // the keyboard focus, as it does for a new dialog; empty when either
    // does not come. Keys typed before then go to another window.
    QString waitForActiveWindow(const QString &titlePattern, int timeoutMs = 10000);
    // Waits until no visible window of the program has such a title.
    bool waitForNoWindow(const QString &titlePattern, int timeoutMs = 10000);

    // Input through the X server's test extension.
    void key(const QString &combination);
    // Types the text into whatever has the keyboard focus.
    void type(const QString &text);
    // Presses a key that opens a pop-up (a menu, a dialog) and waits until
    // a new window of the program is on screen; false when none comes.
    bool keyForPopup(const QString &combination, int timeoutMs = 5000);
    // The program's windows on screen.
    int visibleWindows();
    QStringList visibleWindowIds();
    void click(const QPoint &screen);
    // Turns the mouse wheel over the point: notches up when positive.
    void scroll(const QPoint &screen, int notches);
    void drag(const QPoint &from, const QPoint &to);
    // The same, with the button still held at the end, and its release.
    void dragAndHold(const QPoint &from, const QPoint &to);
    void release();

    // The widget whose tool tip is the text (Qt reports it as the
    // accessible description).
    Accessible control(const QString &toolTip);
    AtSpi &accessibility();
    // The status line under the seek bar, as a screen reader reads it.
    QString statusText();
    // The first column of the playlist view, row by row.
    QStringList playlist();
    // The number of rows of the playlist view, -1 when it cannot be read.
    int playlistRows();

    // playerctl for this program; its output, trimmed.
    QString playerctl(const QStringList &args);

private:
    Accessible playlistView();
    QString findWindow(const QString &titlePattern) const;

    Desktop &m_desktop;
    const test::ProgramFolder &m_folder;
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<AtSpi> m_atspi;
    Accessible m_root;
    Accessible m_playlist;
    QHash<QString, Accessible> m_controls; // by tool tip
    QString m_window;
    QString m_logPath;
    QString m_program;
    bool m_accessibility = true;
    QProcessEnvironment m_extraEnv;
    QString m_workingDirectory;
};

} // namespace orvane::e2e
