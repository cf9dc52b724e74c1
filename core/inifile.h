#pragma once

#include <QList>
#include <QString>

#include <concepts>
#include <optional>

namespace orvane::core {

// The text of an INI file, kept line by line so that a write changes one
// line and leaves every other line, comment and blank line as it was.
// Sections and keys match without regard to letter case; the first match
// wins; blanks around keys and values do not count.
class IniDocument
{
public:
    static IniDocument parse(const QString &text);

    // The value of the first matching key in the first matching section,
    // trimmed and not cut; nothing when the section or key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;

    // Sets the key, adding it at the end of its section, or the section at
    // the end of the text. False (and nothing changed) when the names or the
    // value cannot be stored in a line: empty names, line breaks, "=" in a
    // key, "]" in a section name.
    bool setValue(const QString &section, const QString &key, const QString &value);

    QString toText() const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        QString text;
        Kind kind = Kind::Other;
        QString name;  // section name or key, trimmed
        QString value; // trimmed value of a key line
    };

    static Line parseLine(const QString &text);
    qsizetype findSection(const QString &section) const;
    qsizetype sectionEnd(qsizetype sectionLine) const;

    QList<Line> m_lines;
    QString m_lineEnd = QStringLiteral("\r\n");
};

// The longest value a read hands back, as the Windows INI calls did.
inline constexpr qsizetype kIniMaxValueLength = 255;

template <typename T>
concept IniValueType = std::same_as<T, qint16> || std::same_as<T, qint32> ||
    std::same_as<T, quint8> || std::same_as<T, float> || std::same_as<T, double> ||
    std::same_as<T, bool> || std::same_as<T, QString>;

// Reads (write false) or writes (write true) one value of an INI file. The
// value's type chooses the conversion; a reader presets it to its default.
//
// Read: a missing key keeps the default and gives true, unless the default
// is an empty text (then false). A key with an empty value, or one whose text
// does not convert to the type, keeps the default and gives false. Values are
// cut to 255 characters. Booleans read "True"/"False" in any letter case or
// a number; they are written as "True"/"False".
//
// Write: the file is replaced atomically, other lines unchanged; the folder
// is created when missing. False when anything fails.
template <IniValueType T>
bool IniReadWrite(const QString &section, const QString &key, T &value, const QString &file,
                  bool write);

// The text conversions IniReadWrite uses, for callers that hold text.
template <IniValueType T> std::optional<T> iniValueFromText(const QString &text);
template <IniValueType T> QString iniValueToText(const T &value);

} // namespace orvane::core
