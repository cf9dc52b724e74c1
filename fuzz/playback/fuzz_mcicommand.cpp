// Command strings reach the CD device from callers that build them out of
// replies and playlist fields: any text must parse to a command or an MCI
// error number, and a parsed time never holds more than four fields.
#include "playback/mci/mcicommand.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::playback::mci;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto parsed = parseMciCommand(text);
    if (const auto *error = std::get_if<quint32>(&parsed)) {
        if (*error == 0)
            std::abort();
        return 0;
    }
    const MciCommand &command = std::get<MciCommand>(parsed);
    for (const auto &time : {command.from, command.to}) {
        if (!time)
            continue;
        if (time->fields.isEmpty() || time->fields.size() > 4)
            std::abort();
        for (int field : time->fields)
            if (field < 0 || field > 255)
                std::abort();
    }
    if (command.track && (*command.track < 0 || *command.track > 255))
        std::abort();
    return 0;
}
