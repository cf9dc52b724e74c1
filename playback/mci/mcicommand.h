#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace orvane::playback::mci {

// A position or length as written in a command: one to four numbers joined
// by ':' ("3", "3:1:20:0", "02:45:12"). What the fields mean depends on the
// device's time format, so the parser only checks that they are numbers.
struct TimeArgument {
    QList<int> fields;

    bool operator==(const TimeArgument &) const = default;
};

enum class Verb { Open, Close, Set, Info, Status, Capability, Play, Seek, Pause, Resume, Stop };

// One command string, parsed. Words are compared without regard to case;
// the device name keeps the case it was written in.
struct MciCommand {
    Verb verb = Verb::Stop;
    QString device; // the alias, "all", or for open the device to open
    bool wait = false;
    bool notify = false;

    // open
    QString type;  // "cdaudio"
    QString alias; // "Medias"

    // status, info, capability, set: the item asked for, its words joined by
    // one blank and lower-cased ("mode", "length", "time format tmsf").
    QString item;
    std::optional<int> track; // "status ... length track 3"

    // play and seek
    std::optional<TimeArgument> from;
    std::optional<TimeArgument> to;
    bool toStart = false;
    bool toEnd = false;
};

// Parses one command string. On failure the MCI error number of what is
// wrong in it: an unknown command, a keyword the command does not take, a
// missing argument, a number that is not one.
std::variant<MciCommand, quint32> parseMciCommand(const QString &text);

// Splits a command into words: runs of blanks separate them and a double-
// quoted word may hold blanks. Empty on an unclosed quote.
std::optional<QStringList> mciWords(const QString &text);

} // namespace orvane::playback::mci
