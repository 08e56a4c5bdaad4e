#pragma once

#include <QList>

#include "platform/memberdescription.h"

namespace Lumisong {

// The progress bar's public members, in the order of its interface, with their
// types, values and description texts.
class ProgressBarMembers
{
public:
    static const QList<MemberDescription> &all();
};

} // namespace Lumisong
