#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace orvane::core {

// The system the program runs on, as the about box shows it.
struct OSInfo {
    QString OSName = unknownOSName(); // the system's name
    QString PlatformText;             // the platform identifier in decimal, empty on Linux
    qint16 MajorVersion = 0;
    qint16 MinorVersion = 0;
    qint32 BuildNumber = 0; // low 16 bits only
    QString Edition;        // empty when not told

    static QString unknownOSName() { return QStringLiteral("不明"); }
};

// What the Windows version call reports, and the product type byte of its
// extended form (-1 when that call failed).
struct WindowsVersion {
    int platform = 0;
    int major = 0;
    int minor = 0;
    quint32 build = 0;
    int productType = -1;
};

// The Windows name table: the program's settings and documents written on
// Windows name the system this way, and the names must stay comparable.
OSInfo windowsOSInfo(const WindowsVersion &version);

// The KEY=VALUE assignments of an os-release file. Values may be quoted
// with '"' or '\'' and may carry backslash escapes; comments, blank lines
// and malformed lines are skipped, and control characters are dropped, so
// whatever the file holds can be shown on one line.
QHash<QString, QString> parseOsRelease(const QByteArray &text);

// The leading "major.minor.patch" numbers of a kernel release text such as
// "6.1.0-18-amd64"; missing parts are 0.
void parseKernelRelease(const QString &release, qint16 &major, qint16 &minor, qint32 &build);

// This system: the name and version of the distribution from os-release
// (/etc/os-release, else /usr/lib/os-release) and the kernel's version
// numbers. A system that tells nothing stays "不明".
OSInfo GetOSInfo();
// The same from given files; for tests.
OSInfo osInfoFrom(const QStringList &osReleaseFiles, const QString &kernelRelease);

} // namespace orvane::core
