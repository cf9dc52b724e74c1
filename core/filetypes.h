#pragma once

#include <QString>

namespace orvane::core {

// Extension lists used when the settings leave "File Types" empty: entries of
// a full stop and an extension, separated by ";". Locations are matched by
// searching each entry anywhere in them, the first engine's list first.

// The lists the Windows program shipped, in their order (".rmi" twice, as
// it always was).
inline const QString kWindowsWmpFileTypes = QStringLiteral(
    ".avi;.asf;.asx;.rmi;.wav;.wmv;.wma;.wax;.mpg;.mpeg;.dat;.m1v;.mp2;.mp3;.mpa;.mpe;.mid;"
    ".rmi;.qt;.aif;.aifc;.aiff;.mov;.au;.snd");
inline const QString kBuiltinRealFileTypes = QStringLiteral(".rm;.ra;.ram;.rt;.rp;.swf;.smil;.smi");

// Formats a Linux user plays today, all of which the first engine decodes.
// They go after the old entries so a location that an old entry matched
// still finds it first; none of them occurs inside an old extension of
// either list, so no old extension changes engine.
inline const QString kLinuxWmpFileTypes =
    QStringLiteral(".ogg;.oga;.ogv;.opus;.flac;.m4a;.mp4;.m4v;.mkv;.mka;.webm;.aac;.ac3;.wv;"
                   ".3gp;.spx;.mpc");

inline const QString kBuiltinWmpFileTypes =
    kWindowsWmpFileTypes + QLatin1Char(';') + kLinuxWmpFileTypes;

// "." replaced by "*.": the file-dialog filter of a list.
QString filterFromFileTypes(const QString &fileTypes);

} // namespace orvane::core
