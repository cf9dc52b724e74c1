#pragma once

#include <QByteArray>
#include <QString>

namespace orvane::core {

// How a text file's bytes were understood.
enum class TextEncoding { Utf8, Cp932 };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// Files of the Windows program are CP932; files we write or that a Linux
// user made are UTF-8. Bytes that are valid UTF-8 are read as UTF-8 (a BOM is
// dropped), anything else as CP932.
DecodedText decodeText(const QByteArray &bytes);

// True when every character of the text has a CP932 encoding.
bool fitsCp932(const QString &text);

// CP932 bytes of the text; ok (when given) is false when a character does
// not fit, and the result is then empty.
QByteArray encodeCp932(const QString &text, bool *ok = nullptr);

// CP932 when the text fits, else UTF-8 (no BOM): nothing is ever lost.
QByteArray encodePreferCp932(const QString &text, TextEncoding *used = nullptr);

} // namespace orvane::core
