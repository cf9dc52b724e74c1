#include "core/runsettings.h"

#include "core/filetypes.h"
#include "core/inifile.h"
#include "core/modmain.h"
#include "core/osinfo.h"
#include "core/settingkeys.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace orvane::core {

using namespace settings;

RunSettings &RunSettings::instance()
{
    static RunSettings settings;
    return settings;
}

int saneProcessingInterval(qint64 ms)
{
    return int(std::clamp<qint64>(ms, 1, std::numeric_limits<qint32>::max()));
}

void RunSettings::readAtStartup(const QString &settingsFile)
{
    QString tryOther = QStringLiteral("False");
    IniReadWrite(kGeneral, kTryOpenOtherMode, tryOther, settingsFile, false);
    modMain::TryOtherEngine = tryOther == QStringLiteral("True");

    bool autoPlay = true;
    IniReadWrite(kGeneral, kAutoPlay, autoPlay, settingsFile, false);
    modMain::AutoPlay = autoPlay;

    bool shortPath = true;
    IniReadWrite(kGeneral, kShortPath, shortPath, settingsFile, false);
    modMain::UseShortPath = shortPath;

    QString wmp;
    IniReadWrite(kMediaPlayerSetting, kFileTypes, wmp, settingsFile, false);
    QString real;
    IniReadWrite(kRealPlayerSetting, kFileTypes, real, settingsFile, false);
    modMain::WmpFileTypes = wmp.isEmpty() ? kBuiltinWmpFileTypes : wmp;
    modMain::RealFileTypes = real.isEmpty() ? kBuiltinRealFileTypes : real;
}

void RunSettings::readAtWindowLoad(const QString &settingsFile)
{
    qint32 mode = 1;
    IniReadWrite(kGeneral, kProcessingMode, mode, settingsFile, false);
    m_processingMode = mode == 0 ? 0 : 1;
    qint32 interval = 500;
    IniReadWrite(kGeneral, kProcessingInterval, interval, settingsFile, false);
    m_processingInterval = saneProcessingInterval(interval);
    bool orgBar = orgBarDefault(GetOSInfo().OSName);
    IniReadWrite(kGeneral, kShowOrgBar, orgBar, settingsFile, false);
    m_orgBar = orgBar;
}

bool RunSettings::tryOtherEngine() const
{
    return modMain::TryOtherEngine;
}

bool RunSettings::autoPlay() const
{
    return modMain::AutoPlay;
}

bool RunSettings::useShortPath() const
{
    return modMain::UseShortPath;
}

void RunSettings::setTryOtherEngine(bool on)
{
    modMain::TryOtherEngine = on;
}

void RunSettings::setAutoPlay(bool on)
{
    modMain::AutoPlay = on;
}

void RunSettings::setUseShortPath(bool on)
{
    modMain::UseShortPath = on;
}

QString RunSettings::wmpFileTypes() const
{
    return modMain::WmpFileTypes.isEmpty() ? kBuiltinWmpFileTypes : modMain::WmpFileTypes;
}

QString RunSettings::realFileTypes() const
{
    return modMain::RealFileTypes.isEmpty() ? kBuiltinRealFileTypes : modMain::RealFileTypes;
}

void RunSettings::setFileTypes(const QString &wmpStored, const QString &realStored)
{
    modMain::WmpFileTypes = wmpStored.isEmpty() ? kBuiltinWmpFileTypes : wmpStored;
    modMain::RealFileTypes = realStored.isEmpty() ? kBuiltinRealFileTypes : realStored;
    modMain::WmpFilter = filterFromFileTypes(modMain::WmpFileTypes);
    modMain::RealFilter = filterFromFileTypes(modMain::RealFileTypes);
}

void RunSettings::setProcessingInterval(int ms)
{
    const int interval = saneProcessingInterval(ms);
    if (interval == m_processingInterval)
        return;
    m_processingInterval = interval;
    Q_EMIT processingIntervalChanged(interval);
}

bool orgBarDefault(const QString &osName)
{
    // The own caption looked out of place on these systems' flat captions;
    // everywhere else (Linux among them) it is on unless the settings say
    // otherwise.
    static const QStringList plain = {QStringLiteral("Windows 3.1"), QStringLiteral("Windows Me"),
                                      QStringLiteral("Windows 2000"), QStringLiteral("Windows XP")};
    return !plain.contains(osName);
}

void RunSettings::setOrgBar(bool on)
{
    if (on == m_orgBar)
        return;
    m_orgBar = on;
    Q_EMIT orgBarChanged(on);
}

void RunSettings::reset()
{
    modMain::TryOtherEngine = false;
    modMain::AutoPlay = true;
    modMain::UseShortPath = true;
    modMain::WmpFileTypes = kBuiltinWmpFileTypes;
    modMain::RealFileTypes = kBuiltinRealFileTypes;
    m_processingMode = 1;
    m_processingInterval = 500;
    m_orgBar = true;
}

} // namespace orvane::core
