#pragma once

#include <QList>

#include <optional>

#include "platform/memberdescription.h"
#include "platform/propertybag.h"

namespace Lumisong {

class ProgressBar;

// One property of the progress bar, declared once: its name (also its saved
// key), how --describe shows it, its creation value, its saving default, and
// where it stands in the creation, reading and writing steps (1-based; 0 =
// not part of that step). Values go through the typed accessors, so the
// clamping rules apply in the order of each step.
struct ProgressBarProperty
{
    using Value = PropertyBag::Value;

    const char *name;
    const char *type;
    const char *initialText;
    const char *savedText;
    const char *help;
    std::optional<Value> initial;
    Value saved;
    // Read back against the control's name instead of the saving default.
    bool readsName = false;
    int initOrder = 0;
    int readOrder = 0;
    int writeOrder = 0;
    Value (*get)(const ProgressBar &) = nullptr;
    void (*set)(ProgressBar &, const Value &) = nullptr;
};

// The progress bar's public members, in the order of its interface, with their
// types, values and description texts.
class ProgressBarMembers
{
public:
    // Every property, in the order of the interface.
    static const QList<ProgressBarProperty> &properties();
    // The properties that take part in a step, in that step's order.
    static QList<const ProgressBarProperty *> inOrder(int ProgressBarProperty::*step);
    // Properties, then methods, as a property browser lists them.
    static const QList<MemberDescription> &all();
};

} // namespace Lumisong
