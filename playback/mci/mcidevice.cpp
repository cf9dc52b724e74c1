#include "playback/mci/mcidevice.h"

namespace orvane::playback::mci {

namespace {

// Until the disc drives have a device of their own, every command string is
// answered the way MCI answers for an alias or device type it does not know.
class AbsentDevice final : public MciDevice
{
public:
    quint32 sendString(const QString &, QString &reply) override
    {
        reply.clear();
        return kMciInvalidDeviceName;
    }
};

AbsentDevice g_absent;
MciDevice *g_device = nullptr;

} // namespace

void setMciDevice(MciDevice *device)
{
    g_device = device;
}

MciDevice *mciDevice()
{
    return g_device ? g_device : &g_absent;
}

QString mciErrorText(quint32 error)
{
    switch (error) {
    case kMciNoError:
        return {};
    case kMciInvalidDeviceId:
        return QStringLiteral("Invalid device ID. Use the ID given to the device when the device "
                              "was opened.");
    case kMciUnrecognizedCommand:
        return QStringLiteral("The specified command was not recognized.");
    case kMciHardware:
        return QStringLiteral("There is a problem with your media device. Make sure it is "
                              "working correctly or contact the device manufacturer.");
    case kMciInvalidDeviceName:
        return QStringLiteral("The specified device is not open or is not recognized by MCI.");
    case kMciOutsideRange:
        return QStringLiteral("The specified parameter is out of range for the specified "
                              "command.");
    case kMciDeviceNotReady:
        return QStringLiteral("The device is not ready.");
    case kMciMediaNotPresent:
        return QStringLiteral("There is no media in the device.");
    default:
        return QStringLiteral("An unknown problem occurred with the MCI device (%1).").arg(error);
    }
}

} // namespace orvane::playback::mci
