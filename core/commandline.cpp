#include "core/commandline.h"

#include <QCoreApplication>

namespace orvane::core {

QString rawCommandLine(const QStringList &arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString &arg : arguments) {
        if (arg.isEmpty() || arg.contains(QLatin1Char(' ')) || arg.contains(QLatin1Char('"')))
            parts.append(QLatin1Char('"') + QString(arg).replace(u'"', QStringLiteral("\"\"")) +
                         QLatin1Char('"'));
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
    QString out;
    out.reserve(line.size());
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"' && quoted && i + 1 < line.size() && line[i + 1] == u'"') {
            out += c; // a quote that is part of the name
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
            out += c;
        } else {
            out += c == u' ' && !quoted ? QChar(u'|') : c;
        }
    }
    return out;
}

} // namespace orvane::core
