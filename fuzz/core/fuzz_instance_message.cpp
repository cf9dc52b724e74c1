// Whatever a local process writes to the instance socket, and whatever
// command line arrives, must be taken apart safely.
#include "core/commandline.h"
#include "core/instancemessage.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::core;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    InstanceMessageReader reader;
    // Feed in two pieces split at a point the input chooses.
    const qsizetype split = size ? qsizetype(data[0]) % qsizetype(size) : 0;
    reader.feed(bytes.left(split));
    if (reader.feed(bytes.mid(split)) == InstanceMessageReader::State::Complete) {
        const QString text = reader.text();
        InstanceMessageReader again;
        if (again.feed(encodeInstanceMessage(text)) != InstanceMessageReader::State::Complete ||
            again.text() != text)
            std::abort();
    }
    // Any arguments (NUL-separated here) come back from the command line
    // one element each, at most wrapped in the quotes the location parser
    // removes. "|" separates locations wherever it is.
    const QStringList arguments = QString::fromUtf8(bytes).split(QChar(0));
    if (!QString::fromUtf8(bytes).contains(u'|')) {
        const QStringList elements = NormalizeCommand(rawCommandLine(arguments)).split(u'|');
        if (elements.size() != arguments.size())
            std::abort();
        for (qsizetype i = 0; i < elements.size(); ++i) {
            if (elements[i] != arguments[i] && elements[i] != u'"' + arguments[i] + u'"')
                std::abort();
        }
    }
    const QString line = QString::fromUtf8(bytes);
    const QString normalised = NormalizeCommand(line.isEmpty() ? QStringLiteral(" ") : line);
    if (normalised.size() > line.size())
        std::abort();
    return 0;
}
