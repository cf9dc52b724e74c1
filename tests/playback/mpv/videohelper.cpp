// Shows the engine's picture in a real window: started by test_mpvvideo on
// a private X server. Arguments: the clip, the video output. Prints
// "PLAYING" once the clip plays, then keeps playing until killed (at most
// 60 s).
#include "playback/mpv/mpvrealplayer.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <cstdio>

using orvane::playback::RealPlayer;
using orvane::playback::mpv::MpvOptions;
using orvane::playback::mpv::MpvRealPlayer;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s <clip> <vo>\n", argv[0]);
        return 2;
    }
    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.videoOutput = args.at(2);
    MpvRealPlayer engine(nullptr, options);
    QWindow *window = engine.videoWindow();
    if (!window) {
        std::fprintf(stderr, "no video window\n");
        return 3;
    }
    window->setGeometry(0, 0, 320, 224);
    window->show();
    QObject::connect(&engine, &RealPlayer::errorMessage,
                     [](int severity, qint32, qint32, const QString &text, const QString &,
                        const QString &detail) {
                         std::fprintf(stderr, "error %d: %s (%s)\n", severity, qPrintable(text),
                                      qPrintable(detail));
                     });
    bool announced = false;
    QObject::connect(&engine, &RealPlayer::stateChanged, [&announced](int state) {
        if (state == RealPlayer::Playing && !announced) {
            announced = true;
            // Let a few frames reach the window first.
            QTimer::singleShot(800, [] {
                std::printf("PLAYING\n");
                std::fflush(stdout);
            });
        }
    });
    engine.setLooping(true);
    engine.setSource(QStringLiteral("file://") + args.at(1));
    engine.play();
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
