// The floor for the start-up benchmark: the least a Qt Widgets program does
// to put a main window on screen. It reports its first expose with the same
// kind of log line and clock as orvane, so both are timed alike.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QWindow>

#include <ctime>

namespace {

Q_LOGGING_CATEGORY(lcHello, "hello.startup", QtWarningMsg)

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
            qCInfo(lcHello).nospace() << "window exposed at " << micros;
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Hello"));
    window.setCentralWidget(new QLabel(QStringLiteral("Hello, world"), &window));
    window.winId();
    window.windowHandle()->installEventFilter(new FirstExposeFilter(window.windowHandle()));
    window.show();
    return app.exec();
}
