#pragma once

#include <QList>

#include "platform/memberdescription.h"

namespace Lumisong {

// The skinned button's members as a developer placing it sees them: for each
// property its type, the value of a newly placed button, the default its
// saved properties are written against, and its help string; then the
// methods and events with theirs. In the order of the control's interface.
class ButtonMembers
{
public:
    static const QList<MemberDescription> &all();
};

} // namespace Lumisong
