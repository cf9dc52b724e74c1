#include "core/screensaver.h"

#include "core/inifile.h"
#include "core/logging.h"
#include "core/messagebox.h"
#include "core/settingkeys.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace orvane::core {

namespace {

// A desktop that does not answer in this time has no such service for us.
constexpr int kBusTimeoutMs = 2000;

bool g_inhibited = false;
uint g_cookie = 0;

QDBusMessage screenSaverCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

} // namespace

bool ScreenSaver::inhibit()
{
    if (g_inhibited)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << kApplicationTitle << QStringLiteral("Playing media");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCInfo(lcCore) << "screen saver not inhibited:" << reply.errorMessage();
        return false;
    }
    g_cookie = reply.arguments().constFirst().toUInt();
    g_inhibited = true;
    return true;
}

void ScreenSaver::release()
{
    if (!g_inhibited)
        return;
    g_inhibited = false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
    call << g_cookie;
    bus.call(call, QDBus::Block, kBusTimeoutMs);
}

bool ScreenSaver::isInhibited()
{
    return g_inhibited;
}

void ApplyScreenSaverSetting(const QString &settingsFile)
{
    QString run = QStringLiteral("Yes");
    IniReadWrite(settings::kGeneral, settings::kRunScreenSaver, run, settingsFile, false);
    if (run == QStringLiteral("No"))
        ScreenSaver::inhibit();
}

void RestoreScreenSaver(const QString &settingsFile)
{
    QString restore = QStringLiteral("No");
    IniReadWrite(settings::kGeneral, settings::kSetScreenSaver, restore, settingsFile, false);
    if (restore == QStringLiteral("Yes"))
        ScreenSaver::release();
}

} // namespace orvane::core
