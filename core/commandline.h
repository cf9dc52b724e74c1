#pragma once

#include <QString>
#include <QStringList>

namespace orvane::core {

// The command line as one text, the way the hand-over to a running instance
// carries it: arguments joined by blanks, one that holds a blank or a double
// quote (or is empty) wrapped in double quotes, its own quotes doubled.
QString rawCommandLine(const QStringList &arguments);

// This process's own arguments (after the program name) as rawCommandLine.
QString ownCommandLine();

// Turns a command line into the "|"-separated location list adding media
// takes. An empty text stands for this process's own command line. Blanks
// separate locations, except inside double quotes: a text that is one quoted
// run comes back unchanged, quotes and all; otherwise quoted runs keep their
// blanks and enclosing quotes (the location parser removes those later), and
// a doubled quote inside one is a single quote of the name.
QString NormalizeCommand(const QString &text);

} // namespace orvane::core
