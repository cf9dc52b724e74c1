#include "app/startuptiming.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QWidget>
#include <QWindow>

#include <ctime>

namespace orvane::app {

namespace {

Q_LOGGING_CATEGORY(lcStartup, "orvane.app.startup", QtWarningMsg)

class FirstExposeFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            timespec now{};
            ::clock_gettime(CLOCK_REALTIME, &now);
            const qint64 micros = qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
            qCInfo(lcStartup).nospace() << "window exposed at " << micros;
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void reportFirstExpose(QWidget *window)
{
    if (!lcStartup().isInfoEnabled() || !window)
        return;
    window->winId(); // make sure the native window exists before it is shown
    if (QWindow *handle = window->windowHandle())
        handle->installEventFilter(new FirstExposeFilter(handle));
}

} // namespace orvane::app
