// Replies of the CD device are outside input: every reading must give a
// finite number for any text.
#include "playback/mci/mcireplies.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::playback::mci;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double values[] = {leadingNumber(text), tmsfPositionSeconds(text),
                             tmsfLengthSeconds(text)};
    for (double v : values) {
        if (!std::isfinite(v))
            std::abort();
    }
    (void)leadingInt16(text);
    (void)leadingInt32(text);
    const MsfPosition msf = msfFromSeconds(values[0]);
    if (msf.seconds < 0 || msf.seconds > 59 || msf.frames < 0 || msf.frames > 74)
        std::abort();
    return 0;
}
