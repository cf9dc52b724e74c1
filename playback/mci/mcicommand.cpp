#include "playback/mci/mcicommand.h"

#include "playback/mci/mcidevice.h"

namespace orvane::playback::mci {

namespace {

using Result = std::variant<MciCommand, quint32>;

// MCI packs the fields of a time into bytes, so larger numbers cannot be
// meant; leading zeros are fine ("02:05").
std::optional<int> smallNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

std::optional<TimeArgument> timeArgument(const QString &text)
{
    const QStringList parts = text.split(u':');
    if (parts.size() > 4)
        return std::nullopt;
    TimeArgument time;
    for (const QString &part : parts) {
        const auto number = smallNumber(part);
        if (!number)
            return std::nullopt;
        time.fields.append(*number);
    }
    return time;
}

std::optional<Verb> verbOf(const QString &word)
{
    static const std::pair<const char16_t *, Verb> verbs[] = {
        {u"open", Verb::Open},     {u"close", Verb::Close},   {u"set", Verb::Set},
        {u"info", Verb::Info},     {u"status", Verb::Status}, {u"capability", Verb::Capability},
        {u"play", Verb::Play},     {u"seek", Verb::Seek},     {u"pause", Verb::Pause},
        {u"resume", Verb::Resume}, {u"stop", Verb::Stop},
    };
    for (const auto &[name, verb] : verbs) {
        if (word == QStringView(name))
            return verb;
    }
    return std::nullopt;
}

// The words after the device, with "wait" and "notify" taken out wherever
// they stand, as MCI allows.
QStringList takeFlags(QStringList words, MciCommand &command)
{
    QStringList rest;
    for (QString &word : words) {
        const QString lower = word.toLower();
        if (lower == u"wait")
            command.wait = true;
        else if (lower == u"notify")
            command.notify = true;
        else
            rest.append(std::move(word));
    }
    return rest;
}

quint32 parseOpen(const QStringList &words, MciCommand &command)
{
    for (qsizetype i = 0; i < words.size(); i += 2) {
        const QString key = words[i].toLower();
        if (key == u"shareable") {
            --i;
            continue;
        }
        if (i + 1 >= words.size())
            return kMciMissingParameter;
        if (key == u"type")
            command.type = words[i + 1].toLower();
        else if (key == u"alias")
            command.alias = words[i + 1];
        else
            return kMciUnrecognizedKeyword;
    }
    return kMciNoError;
}

// "length track 3" keeps its track apart; every other item is its words.
quint32 parseItem(const QStringList &words, MciCommand &command)
{
    if (words.isEmpty())
        return kMciMissingParameter;
    QStringList item;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString word = words[i].toLower();
        // "current track" is an item of its own; "track" ends the others.
        if (word == u"track" && command.verb == Verb::Status && !item.isEmpty() &&
            item.last() != u"current") {
            if (i + 1 >= words.size())
                return kMciMissingParameter;
            const auto track = smallNumber(words[i + 1]);
            if (!track)
                return kMciNoInteger;
            command.track = *track;
            if (i + 2 != words.size())
                return kMciUnrecognizedKeyword;
            break;
        }
        item.append(word);
    }
    command.item = item.join(u' ');
    return kMciNoError;
}

quint32 parseRange(const QStringList &words, MciCommand &command)
{
    for (qsizetype i = 0; i < words.size(); i += 2) {
        const QString key = words[i].toLower();
        if (key != u"from" && key != u"to")
            return kMciUnrecognizedKeyword;
        if (i + 1 >= words.size())
            return kMciMissingParameter;
        const QString value = words[i + 1].toLower();
        if (key == u"to" && command.verb == Verb::Seek && (value == u"start" || value == u"end")) {
            (value == u"start" ? command.toStart : command.toEnd) = true;
            continue;
        }
        const auto time = timeArgument(value);
        if (!time)
            return kMciOutsideRange;
        (key == u"from" ? command.from : command.to) = *time;
    }
    if (command.verb == Verb::Seek && !command.to && !command.toStart && !command.toEnd)
        return kMciMissingParameter;
    if (command.verb == Verb::Seek && command.from)
        return kMciUnrecognizedKeyword;
    return kMciNoError;
}

quint32 parseArguments(const QStringList &words, MciCommand &command)
{
    switch (command.verb) {
    case Verb::Open:
        return parseOpen(words, command);
    case Verb::Set:
    case Verb::Info:
    case Verb::Status:
    case Verb::Capability:
        return parseItem(words, command);
    case Verb::Play:
    case Verb::Seek:
        return parseRange(words, command);
    case Verb::Close:
    case Verb::Pause:
    case Verb::Resume:
    case Verb::Stop:
        return words.isEmpty() ? kMciNoError : kMciUnrecognizedKeyword;
    }
    return kMciUnrecognizedCommand;
}

} // namespace

std::optional<QStringList> mciWords(const QString &text)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const QChar c : text) {
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else
                word.append(c);
        } else if (c == u'"') {
            quoted = true;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.append(word);
    return words;
}

Result parseMciCommand(const QString &text)
{
    const auto words = mciWords(text);
    if (!words)
        return kMciNoClosingQuote;
    if (words->isEmpty())
        return kMciUnrecognizedCommand;
    const auto verb = verbOf(words->first().toLower());
    if (!verb)
        return kMciUnrecognizedCommand;
    MciCommand command;
    command.verb = *verb;
    if (words->size() < 2)
        return kMciInvalidDeviceName;
    command.device = words->at(1);
    const quint32 error = parseArguments(takeFlags(words->mid(2), command), command);
    if (error != kMciNoError)
        return error;
    return command;
}

} // namespace orvane::playback::mci
