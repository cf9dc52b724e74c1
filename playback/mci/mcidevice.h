#pragma once

#include <QString>

namespace orvane::playback::mci {

// MCI error numbers the device layer answers with.
enum MciError : quint32 {
    kMciNoError = 0,
    kMciInvalidDeviceId = 257,
    kMciUnrecognizedKeyword = 259,
    kMciUnrecognizedCommand = 261,
    kMciHardware = 262,
    kMciInvalidDeviceName = 263,
    kMciMissingParameter = 273,
    kMciUnsupportedFunction = 274,
    kMciOutsideRange = 282,
    kMciDuplicateAlias = 289,
    kMciBadTimeFormat = 293,
    kMciNoClosingQuote = 294,
    kMciExtraCharacters = 305,
    kMciNoInteger = 312,
    kMciDeviceNotReady = 276,
    kMciMediaNotPresent = 296, // no disc in the drive
    // The CD device's own numbers start where drivers' own numbers do.
    kMciDataTrack = 513, // a data track asked to play
};

// Whatever answers the command strings of the CD device. The program talks
// to it only through SendMci. Tests install a fake; without a device every
// command fails as MCI does for a device that does not exist.
class MciDevice
{
public:
    virtual ~MciDevice() = default;
    // Runs one command string; returns 0 or an MCI error number and puts the
    // reply (no line breaks, no NULs) into reply.
    virtual quint32 sendString(const QString &command, QString &reply) = 0;
};

// The device in use; nullptr restores the absent device. Not owned.
void setMciDevice(MciDevice *device);
MciDevice *mciDevice();

// MCI's text for an error number ("" for 0).
QString mciErrorText(quint32 error);

} // namespace orvane::playback::mci
