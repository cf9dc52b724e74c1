#include "bench/desktop/desktopbench.h"

#include "bench/benchmedia.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace orvane::bench {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QString joined(const std::vector<double> &values, int decimals)
{
    QStringList texts;
    for (double value : values)
        texts << QString::number(value, 'f', decimals);
    return texts.join(QStringLiteral(", "));
}

const char *verdict(bool within)
{
    return within ? "within budget" : "OVER BUDGET";
}

int cannotPrepare(const char *bench, const QString &why)
{
    std::fflush(stdout);
    std::fprintf(stderr, "%s: cannot prepare the benchmark: %s\n", bench, qPrintable(why));
    return 1;
}

std::unique_ptr<e2e::Desktop> startDesktop(const char *bench)
{
    auto desktop = std::make_unique<e2e::Desktop>();
    if (!desktop->start()) {
        cannotPrepare(bench, QStringLiteral("the private desktop did not start (%1); it needs "
                                            "Xvfb, openbox, dbus-daemon, pulseaudio and xprop")
                                 .arg(desktop->error()));
        return nullptr;
    }
    return desktop;
}

std::unique_ptr<e2e::Player> startProgram(e2e::Desktop &desktop, const test::ProgramFolder &folder,
                                          const QString &program, const QStringList &args)
{
    auto player = std::make_unique<e2e::Player>(desktop, folder);
    player->setAccessibility(false);
    if (!program.isEmpty())
        player->setProgram(program);
    if (!player->start(args))
        return nullptr;
    return player;
}

bool playsSound(const e2e::Desktop &desktop, qint64 pid)
{
    const QString json = desktop.run(
        QStringLiteral("pactl"),
        {QStringLiteral("--format=json"), QStringLiteral("list"), QStringLiteral("sink-inputs")},
        5000);
    const QString id = QString::number(pid);
    for (const QJsonValue &input : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonObject stream = input.toObject();
        if (stream.value(QStringLiteral("properties"))
                    .toObject()
                    .value(QStringLiteral("application.process.id"))
                    .toString() == id &&
            !stream.value(QStringLiteral("corked")).toBool(true))
            return true;
    }
    return false;
}

bool waitForSound(const e2e::Desktop &desktop, e2e::Player &player, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (playsSound(desktop, player.pid()))
            return true;
        if (player.waitForExit(100) != -1)
            return false;
    }
    return false;
}

CpuUse measureFor(e2e::Player &player, int ms)
{
    QElapsedTimer clock;
    const ProcessSample before = sampleProcess(player.pid());
    clock.start();
    // The window is the measurement itself; it ends early only when the
    // program does.
    if (player.waitForExit(ms) != -1)
        return {};
    const ProcessSample after = sampleProcess(player.pid());
    return cpuBetween(before, after, double(clock.nsecsElapsed()) / 1e9);
}

bool settle(e2e::Player &player, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const CpuUse second = measureFor(player, 1000);
        if (!second.isValid())
            return false;
        if (second.precisePercentOfCore() < 0.5)
            return true;
    }
    return false;
}

QSize windowSize(const e2e::Desktop &desktop, qint64 pid, const QString &namePattern)
{
    const QString id = desktop
                           .run(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--all"),
                                 QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                 QString::number(pid), QStringLiteral("--name"), namePattern})
                           .section(u'\n', 0, 0);
    if (id.isEmpty())
        return {};
    const QString info = desktop.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    static const QRegularExpression width(QStringLiteral("Width: (\\d+)"));
    static const QRegularExpression height(QStringLiteral("Height: (\\d+)"));
    return {width.match(info).captured(1).toInt(), height.match(info).captured(1).toInt()};
}

QString fileUri(const QString &path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

QString makeMedia(const QString &name, const QStringList &ffmpegArgs)
{
    const QString path = benchMedia(name, ffmpegArgs);
    if (path.isEmpty())
        cannotPrepare("media", QStringLiteral("ffmpeg could not make %1 (is ffmpeg installed, "
                                              "with libmp3lame and libx264?)")
                                   .arg(name));
    return path;
}

} // namespace orvane::bench
