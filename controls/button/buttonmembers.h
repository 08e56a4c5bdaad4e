#pragma once

#include <QList>
#include <QString>

namespace Lumisong {

// The skinned button's members as a developer placing it sees them: kind,
// type, the value of a new instance, the default the property bag uses, and
// the help string shown for it.
struct ButtonMember
{
    enum class Kind { Property, Method, Event };
    Kind kind = Kind::Property;
    QString name;
    QString type;        // empty for methods and events
    QString newValue;    // a freshly placed button's value; empty where none applies
    QString savedDefault; // the bag default; empty for members that are not saved
    QString help;
};

// Every member in the order of the control's interface.
const QList<ButtonMember> &buttonMembers();

} // namespace Lumisong
