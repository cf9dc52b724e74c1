// What an MPRIS client sends (loop states, volumes) and the locations and
// extension lists the player describes itself with: any bytes.
#include "ui/main/mprisvalues.h"

#include <QString>
#include <QUrl>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::ui;
    double volume = 0;
    if (size >= sizeof volume)
        std::memcpy(&volume, data, sizeof volume);
    if (const auto slider = sliderValueOfVolume(volume); slider && (*slider < 0 || *slider > 1000))
        __builtin_trap(); // NaN, infinities and huge numbers stay on the slider's scale

    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto repeat = repeatAllFromLoopStatus(text); repeat && loopStatusOf(*repeat) != text)
        __builtin_trap(); // only the two states the player has are taken
    const QString url = encodedUrl(text);
    if (text.startsWith(u'/') && !QUrl(url, QUrl::StrictMode).isValid())
        __builtin_trap(); // a local path always becomes a URL a client can open
    for (const QString &type : mimeTypesOfFileTypes(text)) {
        if (type.isEmpty())
            __builtin_trap();
    }
    return 0;
}
