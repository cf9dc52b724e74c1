#pragma once

#include <QObject>
#include <QString>

namespace orvane::core {

// The settings a running Orvane reads once (at start-up and when the main
// window loads) and then keeps: whoever needs one asks this object instead
// of reading setting.ini again, and the options dialog changes it so the
// running program follows at once. The flags the adding of media reads on
// every location stay in modMain; this object is the only code that sets
// them after start-up.
class RunSettings final : public QObject
{
    Q_OBJECT
public:
    // The one object of the process.
    static RunSettings &instance();

    // What start-up reads: "Try Open Other Mode" (on only for the exact
    // text "True"), "AutoPlay", "ShortPath" and the two "File Types" lists
    // (empty = the built-in list).
    void readAtStartup(const QString &settingsFile);
    // What the main window reads as it loads: "Processing Mode" (anything
    // but 0 is loop mode), "Processing Interval" and "ShowOrgBar".
    void readAtWindowLoad(const QString &settingsFile);

    bool tryOtherEngine() const;
    bool autoPlay() const;
    bool useShortPath() const;
    void setTryOtherEngine(bool on);
    void setAutoPlay(bool on);
    void setUseShortPath(bool on);

    // The lists in use, never empty.
    QString wmpFileTypes() const;
    QString realFileTypes() const;
    // The lists as setting.ini holds them, an empty one standing for the
    // built-in list; the file-dialog filters are rebuilt from them.
    void setFileTypes(const QString &wmpStored, const QString &realStored);

    // The processing mode this run uses; a new one applies from the next
    // start, so there is no setter.
    int processingMode() const { return m_processingMode; }
    // The timer's interval in milliseconds, at least 1.
    int processingInterval() const { return m_processingInterval; }
    void setProcessingInterval(int ms);

    // Whether the main window draws its own caption.
    bool orgBar() const { return m_orgBar; }
    void setOrgBar(bool on);

    // Back to the values of a run without setting.ini (tests).
    void reset();

Q_SIGNALS:
    void processingIntervalChanged(int ms);
    void orgBarChanged(bool on);

private:
    RunSettings() = default;

    int m_processingMode = 1;
    int m_processingInterval = 500;
    bool m_orgBar = true;
};

inline RunSettings &runSettings()
{
    return RunSettings::instance();
}

// The interval of a setting: a timer of 0 ms or less would run without
// pause, so it is kept at 1 ms at least.
int saneProcessingInterval(qint64 ms);

// "ShowOrgBar" when setting.ini has none, by the system's name.
bool orgBarDefault(const QString &osName);

} // namespace orvane::core
