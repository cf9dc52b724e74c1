#include "core/commandline.h"

#include <QCoreApplication>

#include <algorithm>

namespace orvane::core {

namespace {

// Blanks separate arguments and white space at the ends is trimmed, so an
// argument with any of it, or with quotes of its own, is quoted.
bool needsQuotes(const QString &arg)
{
    return arg.isEmpty() ||
           std::any_of(arg.begin(), arg.end(), [](QChar c) { return c.isSpace() || c == u'"'; });
}

bool isOneQuotedRun(const QString &text)
{
    return text.size() >= 2 && text.front() == QLatin1Char('"') &&
           text.back() == QLatin1Char('"') && text.indexOf(QLatin1Char('"'), 1) == text.size() - 1;
}

} // namespace

QString rawCommandLine(const QStringList &arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString &arg : arguments) {
        if (needsQuotes(arg))
            parts.append(u'"' + QString(arg).replace(u'"', QStringLiteral("\"\"")) + u'"');
        else
            parts.append(arg);
    }
    return parts.join(QLatin1Char(' '));
}

QString ownCommandLine()
{
    return rawCommandLine(QCoreApplication::arguments().mid(1));
}

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
