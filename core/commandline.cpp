#include "core/commandline.h"

#include <QCoreApplication>

namespace orvane::core {

QString rawCommandLine(const QStringList &arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString &arg : arguments) {
        if (arg.isEmpty() || arg.contains(QLatin1Char(' ')))
            parts.append(QLatin1Char('"') + arg + QLatin1Char('"'));
        else
            parts.append(arg);
    }
    return parts.join(QLatin1Char(' '));
}

QString ownCommandLine()
{
    return rawCommandLine(QCoreApplication::arguments().mid(1));
}

namespace {

bool isOneQuotedRun(const QString &text)
{
    return text.size() >= 2 && text.front() == QLatin1Char('"') &&
           text.back() == QLatin1Char('"') && text.indexOf(QLatin1Char('"'), 1) == text.size() - 1;
}

} // namespace

QString NormalizeCommand(const QString &text)
{
    const QString line = (text.isEmpty() ? ownCommandLine() : text).trimmed();
    if (isOneQuotedRun(line))
        return line;
    QString out = line;
    bool quoted = false;
    for (QChar &c : out) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char(' ') && !quoted)
            c = QLatin1Char('|');
    }
    return out;
}

} // namespace orvane::core
