#pragma once

#include <QList>
#include <QString>

namespace Lumisong {

// One member of a control's public face as a property browser or the preview
// tool's --describe lists it.
struct MemberDescription
{
    enum Kind { Property, Method, Event };

    Kind kind = Property;
    QString name;
    QString type;         // "Long", "Boolean", "OLE_COLOR", "String", "Font", "Picture" ...
    QString initialValue; // the value of a newly placed control
    QString savedDefault; // the default its saved properties are written against
    QString help;         // the description text; empty when it has none
};

} // namespace Lumisong
