// The screen-saver switch against a real session bus with a stand-in for
// the desktop's ScreenSaver service: the settings decide, and every cookie
// we took is given back.
#include "core/screensaver.h"
#include "tests/support/sessionbus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvane::core;

namespace {

class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

public Q_SLOTS:
    uint Inhibit(const QString &application, const QString &)
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append(QStringLiteral("Inhibit ") + application);
        return 42;
    }
    void UnInhibit(uint cookie)
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append(QStringLiteral("UnInhibit ") + QString::number(cookie));
    }

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
};

// A private session bus; the service answers from a thread of its own so
// our blocking calls can be served.
class SessionBus : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_bus = new orvane::test::PrivateSessionBus;
        ASSERT_TRUE(s_bus->start());
        s_address = s_bus->address();
        qputenv("DBUS_SESSION_BUS_ADDRESS", s_address.toUtf8());
    }
    static void TearDownTestSuite() { delete s_bus; }

    void startService()
    {
        m_thread.start();
        m_service.moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            &m_service,
            [this] {
                QDBusConnection bus =
                    QDBusConnection::connectToBus(s_address, QStringLiteral("fake"));
                bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &m_service,
                                   QDBusConnection::ExportAllSlots);
                bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
            },
            Qt::BlockingQueuedConnection);
    }
    void TearDown() override
    {
        if (m_thread.isRunning()) {
            QMetaObject::invokeMethod(
                &m_service, [] { QDBusConnection::disconnectFromBus(QStringLiteral("fake")); },
                Qt::BlockingQueuedConnection);
            m_thread.quit();
            m_thread.wait();
        }
        ScreenSaver::release();
    }
    void writeSettings(const QByteArray &ini)
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ini);
    }

    static orvane::test::PrivateSessionBus *s_bus;
    static QString s_address;
    QThread m_thread;
    FakeScreenSaver m_service;
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("setting.ini"));
};

orvane::test::PrivateSessionBus *SessionBus::s_bus = nullptr;
QString SessionBus::s_address;

} // namespace

TEST_F(SessionBus, NoInhibitsUntilExitAndYesGivesItBack)
{
    startService();
    writeSettings("[General Setting]\r\nRun Screen Saver=No\r\nSet Screen Saver=Yes\r\n");
    ApplyScreenSaverSetting(m_ini);
    EXPECT_TRUE(ScreenSaver::isInhibited());
    RestoreScreenSaver(m_ini);
    EXPECT_FALSE(ScreenSaver::isInhibited());
    EXPECT_EQ(m_service.calls(),
              QStringList({QStringLiteral("Inhibit Orvane"), QStringLiteral("UnInhibit 42")}));
}

TEST_F(SessionBus, OnlyTheExactTextsCount)
{
    startService();
    writeSettings("[General Setting]\r\nRun Screen Saver=NO\r\n");
    ApplyScreenSaverSetting(m_ini);
    EXPECT_FALSE(ScreenSaver::isInhibited());

    writeSettings("[General Setting]\r\nRun Screen Saver=No\r\nSet Screen Saver=yes\r\n");
    ApplyScreenSaverSetting(m_ini);
    RestoreScreenSaver(m_ini);
    EXPECT_TRUE(ScreenSaver::isInhibited()) << "left to the desktop, which ends it with us";
    EXPECT_EQ(m_service.calls(), QStringList({QStringLiteral("Inhibit Orvane")}));
}

TEST_F(SessionBus, WithoutTheServiceNothingHappens)
{
    writeSettings("[General Setting]\r\nRun Screen Saver=No\r\nSet Screen Saver=Yes\r\n");
    ApplyScreenSaverSetting(m_ini);
    EXPECT_FALSE(ScreenSaver::isInhibited());
    RestoreScreenSaver(m_ini);
}

#include "test_screensaver.moc"
