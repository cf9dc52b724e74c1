#pragma once

#include <QDBusConnection>
#include <QList>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <functional>

#include <optional>

namespace orvane::e2e {

// One object of an application's accessibility tree.
struct Accessible {
    QString service;
    QString path;
    bool isValid() const { return !service.isEmpty(); }
};

// Reads a program's widgets the way a screen reader does: through the
// desktop's accessibility bus (AT-SPI 2 over D-Bus). Qt programs publish
// their tree there when QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set. Every call
// is bounded; a failed call gives an empty or invalid result.
class AtSpi
{
public:
    // The accessibility bus of the session bus at sessionBusAddress.
    explicit AtSpi(const QString &sessionBusAddress);
    ~AtSpi();

    // The application root of the process pid, once it has published it
    // (waits at most timeoutMs).
    Accessible application(qint64 pid, int timeoutMs = 15000);
    // The first object below root, breadth first, whose description (a
    // widget's tool tip in Qt) is the text.
    Accessible findByDescription(const Accessible &root, const QString &description);
    // The same by accessible name.
    Accessible findByName(const Accessible &root, const QString &name);
    // The same by a pattern the whole name matches.
    Accessible findByNamePattern(const Accessible &root, const QRegularExpression &pattern);
    // The same by role name ("tree", "push button", "dialog").
    Accessible findByRole(const Accessible &root, const QString &role);

    QString name(const Accessible &object);
    QString description(const Accessible &object);
    QList<Accessible> children(const Accessible &object);
    // On-screen rectangle in pixels of the root window.
    QRect extents(const Accessible &object);
    // A slider's or progress bar's value and maximum.
    std::optional<double> currentValue(const Accessible &object);
    std::optional<double> maximumValue(const Accessible &object);
    // A table's (a list or tree view's) cells of one column, row by row;
    // empty when it is no table or has no rows.
    QStringList columnTexts(const Accessible &table, int column = 0);
    // A table's number of rows, -1 when it is no table. Cheap where
    // columnTexts() reads every cell.
    int rowCount(const Accessible &table);
    // A text's length in characters (-1 when the object has no text) and
    // the on-screen rectangle of one of its characters, also where the
    // widget does not show it.
    int characterCount(const Accessible &object);
    QRect characterExtents(const Accessible &object, int offset);
    // All of a text object's text (an editor's contents).
    QString text(const Accessible &object);
    // The role name, as findByRole() compares it.
    QString role(const Accessible &object) { return roleName(object); }

private:
    QString property(const Accessible &object, const QString &interface, const QString &name);
    QString roleName(const Accessible &object);
    int intProperty(const Accessible &object, const QString &interface, const QString &name);
    Accessible find(const Accessible &root, const std::function<bool(const Accessible &)> &match);
    QDBusConnection bus() const;

    QString m_sessionName;
    QString m_busName;
    bool m_connected = false;
};

} // namespace orvane::e2e
