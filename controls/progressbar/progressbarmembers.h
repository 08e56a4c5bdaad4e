#pragma once

#include <QList>

#include <optional>

#include "controls/progressbar/progressbarpropertylist.h"
#include "platform/memberdescription.h"
#include "platform/propertybag.h"

namespace Lumisong {

class ProgressBar;

// The progress bar's properties, in the order of its interface and of its table.
#define LUMISONG_ENUMERATOR(ApiType, field, getter, Name, ...) Name,
enum class ProgressBarPropertyId { LUMISONG_PROGRESSBAR_PROPERTIES(LUMISONG_ENUMERATOR, LUMISONG_ENUMERATOR) };
#undef LUMISONG_ENUMERATOR

// One property of the progress bar, declared once: its name (also its saved
// key), how --describe shows it, its creation value, its saving default, and
// where it stands in the creation, reading and writing steps (1-based; 0 =
// not part of that step). Values go through the typed accessors, so the
// clamping rules apply in the order of each step.
struct ProgressBarProperty
{
    using Value = PropertyBag::Value;

    ProgressBarPropertyId id{};
    const char *name = nullptr;
    const char *type = nullptr;
    const char *help = nullptr;
    std::optional<Value> initial{};
    Value saved{};
    // Read back against the control's name instead of the saving default
    // (the saving default is then shown with this note).
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
    static const ProgressBarProperty &property(ProgressBarPropertyId id);
    // The properties that take part in a step, in that step's order.
    static QList<const ProgressBarProperty *> inOrder(int ProgressBarProperty::*step);
    // Properties, then methods, as a property browser lists them.
    static const QList<MemberDescription> &all();
};

} // namespace Lumisong
