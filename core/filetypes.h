#pragma once

#include <QString>

namespace orvane::core {

// Extension lists used when the settings leave "File Types" empty: entries of
// a full stop and an extension, separated by ";". The first engine's list
// starts with the formats the Windows program knew, in their order.
inline const QString kBuiltinWmpFileTypes = QStringLiteral(
    ".avi;.asf;.asx;.rmi;.wav;.wmv;.wma;.wax;.mpg;.mpeg;.dat;.m1v;.mp2;.mp3;.mpa;.mpe;.mid;"
    ".rmi;.qt;.aif;.aifc;.aiff;.mov;.au;.snd");
inline const QString kBuiltinRealFileTypes = QStringLiteral(".rm;.ra;.ram;.rt;.rp;.swf;.smil;.smi");

// "." replaced by "*.": the file-dialog filter of a list.
QString filterFromFileTypes(const QString &fileTypes);

} // namespace orvane::core
