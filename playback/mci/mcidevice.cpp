#include "playback/mci/mcidevice.h"

#include "playback/cd/cdaudiodevice.h"

namespace orvane::playback::mci {

namespace {

MciDevice *g_device = nullptr;

} // namespace

void setMciDevice(MciDevice *device)
{
    g_device = device;
}

MciDevice *mciDevice()
{
    if (g_device)
        return g_device;
    // Made on first use: its sound thread is not needed by a program that
    // never plays a disc.
    static CdAudioDevice drives;
    return &drives;
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
    case kMciUnrecognizedKeyword:
        return QStringLiteral("The driver cannot recognize the specified command parameter.");
    case kMciMissingParameter:
        return QStringLiteral("The specified command requires a parameter. Please supply one.");
    case kMciUnsupportedFunction:
        return QStringLiteral("The MCI device you are using does not support the specified "
                              "command.");
    case kMciDuplicateAlias:
        return QStringLiteral("The specified alias is already being used in this application. "
                              "Use a unique alias.");
    case kMciBadTimeFormat:
        return QStringLiteral("The specified value for the time format is invalid.");
    case kMciNoClosingQuote:
        return QStringLiteral("A closing double-quotation mark is missing from the parameter "
                              "value.");
    case kMciExtraCharacters:
        return QStringLiteral("You must enclose a string with quotation marks; other characters "
                              "follow it.");
    case kMciNoInteger:
        return QStringLiteral("The parameter for this MCI command must be an integer value.");
    case kMciDataTrack:
        return QStringLiteral("The track holds data, not sound; only audio tracks can be "
                              "played.");
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
