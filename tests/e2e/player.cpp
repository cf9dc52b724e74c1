#include "tests/e2e/player.h"

#include <QFile>
#include <QUuid>

#include <algorithm>

#include <signal.h>
#include <unistd.h>

namespace orvane::e2e {

Player::Player(Desktop &desktop, const test::ProgramFolder &folder)
    : m_desktop(desktop)
    , m_folder(folder)
{}

Player::~Player()
{
    m_atspi.reset();
    if (m_process && m_process->state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process->processId()), SIGKILL);
        m_process->waitForFinished(5000);
    }
}

bool Player::start(const QStringList &args)
{
    QProcessEnvironment env = m_desktop.environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (m_accessibility)
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    // Warnings into the log, not the journal: a failed test shows them.
    env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
    for (const QString &name : m_extraEnv.keys())
        env.insert(name, m_extraEnv.value(name));
    m_logPath = m_folder.path() + QStringLiteral("/run-") +
                QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".log");
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(env);
    m_process->setWorkingDirectory(m_workingDirectory.isEmpty() ? m_desktop.home()
                                                                : m_workingDirectory);
    m_process->setStandardOutputFile(m_logPath);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    // A launcher gives the program no terminal; some give it no input at all.
    m_process->setChildProcessModifier([] { ::close(0); });
    m_process->start(m_program.isEmpty() ? m_folder.executable() : m_program, args);
    return m_process->waitForStarted(10000);
}

int Player::waitForExit(int timeoutMs)
{
    if (!m_process)
        return -2;
    if (m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(timeoutMs))
        return -1;
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -2;
}

bool Player::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

qint64 Player::pid() const
{
    return m_process ? m_process->processId() : 0;
}

QString Player::log() const
{
    QFile file(m_logPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString Player::backtrace() const
{
    if (!isRunning())
        return {};
    return m_desktop.run(QStringLiteral("gdb"),
                         {QStringLiteral("-batch"), QStringLiteral("-p"), QString::number(pid()),
                          QStringLiteral("-ex"), QStringLiteral("thread 1"), QStringLiteral("-ex"),
                          QStringLiteral("bt 30")},
                         30000);
}

QString Player::findWindow(const QString &titlePattern) const
{
    return m_desktop
        .run(QStringLiteral("xdotool"),
             {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
              QStringLiteral("--pid"), QString::number(pid()), QStringLiteral("--name"),
              titlePattern},
             5000)
        .section(u'\n', 0, 0);
}

QString Player::window(int timeoutMs)
{
    if (m_window.isEmpty())
        m_window = waitForWindow(QStringLiteral("^Orvane"), timeoutMs);
    return m_window;
}

QRect Player::geometry()
{
    return m_desktop.windowGeometry(window());
}

QString Player::waitForWindow(const QString &titlePattern, int timeoutMs)
{
    QString id;
    waitUntil(
        [&] {
            id = findWindow(titlePattern);
            return !id.isEmpty() || !isRunning();
        },
        timeoutMs, 100);
    return id;
}

QString Player::waitForActiveWindow(const QString &titlePattern, int timeoutMs)
{
    const QString id = waitForWindow(titlePattern, timeoutMs);
    if (id.isEmpty())
        return {};
    const bool active = waitUntil(
        [&] {
            return m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")},
                                 5000) == id;
        },
        timeoutMs, 50);
    return active ? id : QString();
}

bool Player::waitForNoWindow(const QString &titlePattern, int timeoutMs)
{
    return waitUntil([&] { return findWindow(titlePattern).isEmpty(); }, timeoutMs, 100);
}

// The window manager may still be busy mapping a window when asked to raise
// it, and a key sent then lands nowhere: ask again until the focus is there.
bool Player::activate(int timeoutMs)
{
    const QString id = window();
    if (id.isEmpty())
        return false;
    return waitUntil(
        [&] {
            m_desktop.run(QStringLiteral("xdotool"),
                          {QStringLiteral("windowactivate"), QStringLiteral("--sync"), id}, 2000);
            return m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")},
                                 2000) == id;
        },
        timeoutMs, 100);
}

void Player::key(const QString &combination)
{
    m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("key"), combination});
}

void Player::type(const QString &text)
{
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), text});
}

QStringList Player::visibleWindowIds()
{
    const QString ids = m_desktop.run(QStringLiteral("xdotool"),
                                      {QStringLiteral("search"), QStringLiteral("--all"),
                                       QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                       QString::number(pid()), QStringLiteral(".*")});
    return ids.split(u'\n', Qt::SkipEmptyParts);
}

int Player::visibleWindows()
{
    return int(visibleWindowIds().size());
}

// A window that was not there before: counting would miss a popup that
// opens while another window (the adding progress) closes.
bool Player::keyForPopup(const QString &combination, int timeoutMs)
{
    const QStringList before = visibleWindowIds();
    key(combination);
    return waitUntil(
        [&] {
            const QStringList now = visibleWindowIds();
            return std::any_of(now.begin(), now.end(),
                               [&](const QString &id) { return !before.contains(id); });
        },
        timeoutMs);
}

void Player::click(const QPoint &screen)
{
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QString::number(screen.x()),
                   QString::number(screen.y()), QStringLiteral("click"), QStringLiteral("1")});
}

void Player::scroll(const QPoint &screen, int notches)
{
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QString::number(screen.x()),
                   QString::number(screen.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
                   QString::number(std::abs(notches)),
                   notches > 0 ? QStringLiteral("4") : QStringLiteral("5")});
}

void Player::drag(const QPoint &from, const QPoint &to)
{
    dragAndHold(from, to);
    release();
}

void Player::release()
{
    m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")});
}

void Player::dragAndHold(const QPoint &from, const QPoint &to)
{
    // In steps, as a hand moves: a slider follows the pointer, not jumps.
    // No --sync: it waits for the pointer to move, for ever when it is
    // already there. The server takes the fake events in order anyway.
    QStringList args{QStringLiteral("mousemove"), QString::number(from.x()),
                     QString::number(from.y()), QStringLiteral("mousedown"), QStringLiteral("1")};
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        const QPoint at = from + (to - from) * i / kSteps;
        args << QStringLiteral("sleep") << QStringLiteral("0.03") << QStringLiteral("mousemove")
             << QString::number(at.x()) << QString::number(at.y());
    }
    m_desktop.run(QStringLiteral("xdotool"), args);
}

AtSpi &Player::accessibility()
{
    if (!m_atspi)
        m_atspi = std::make_unique<AtSpi>(m_desktop.busAddress());
    return *m_atspi;
}

Accessible Player::control(const QString &toolTip)
{
    // Widgets keep their place in the tree for the window's life.
    if (const auto it = m_controls.constFind(toolTip); it != m_controls.constEnd())
        return *it;
    if (!m_root.isValid())
        m_root = accessibility().application(pid());
    if (!m_root.isValid())
        return {};
    const Accessible found = accessibility().findByDescription(m_root, toolTip);
    if (found.isValid())
        m_controls.insert(toolTip, found);
    return found;
}

QString Player::statusText()
{
    const Accessible status = control(QStringLiteral("Status"));
    return status.isValid() ? accessibility().name(status) : QString();
}

Accessible Player::playlistView()
{
    if (!m_playlist.isValid()) {
        if (!m_root.isValid())
            m_root = accessibility().application(pid());
        // The main window's, not the list of a dialog that is open too
        // (the error log has one).
        for (const Accessible &window : accessibility().children(m_root)) {
            if (accessibility().role(window) != QStringLiteral("dialog")) {
                m_playlist = accessibility().findByRole(window, QStringLiteral("tree"));
                if (m_playlist.isValid())
                    break;
            }
        }
    }
    return m_playlist;
}

QStringList Player::playlist()
{
    const Accessible view = playlistView();
    return view.isValid() ? accessibility().columnTexts(view) : QStringList();
}

int Player::playlistRows()
{
    const Accessible view = playlistView();
    return view.isValid() ? accessibility().rowCount(view) : -1;
}

QString Player::playerctl(const QStringList &args)
{
    return m_desktop.run(QStringLiteral("playerctl"),
                         QStringList{QStringLiteral("-p"), QStringLiteral("orvane")} + args);
}

} // namespace orvane::e2e
