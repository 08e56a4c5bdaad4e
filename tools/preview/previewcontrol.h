#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <optional>

#include "platform/memberdescription.h"

class QWidget;

namespace Lumisong {

class PropertyBag;

// One control the preview tool can render: it creates the control as a form
// does when the control is first placed, reads saved properties, takes property
// assignments by name and hands back its pixels within its window shape.
class PreviewControl
{
public:
    virtual ~PreviewControl();

    // The control widget, sized W x H; never shown.
    virtual QWidget *widget() = 0;
    // The creation steps of a newly placed control.
    virtual void create() = 0;
    // The reading steps of a saved control.
    virtual void readProperties(const PropertyBag &bag) = 0;
    // The control's pixels as RGBA: alpha 255 inside its window shape, 0 outside.
    virtual QImage render() const = 0;
    virtual QList<MemberDescription> members() const = 0;

    // The run-time look of controls that have one (the skinned button): the
    // state handed to the painter and the focus, default, active-form and
    // pointer-over flags, and whether the application style may draw themed
    // looks. Controls without them refuse with *error set.
    struct RunState
    {
        std::optional<int> state;
        bool focus = false;
        bool isDefault = false;
        bool active = false;
        bool over = false;
        bool themes = true;

        bool isPlain() const { return !state && !focus && !isDefault && !active && !over && themes; }
    };
    // Before create(): whether themed looks may be drawn.
    virtual bool setThemesAvailable(bool available, QString *error);
    // After the assignments: the state to draw, then a redraw.
    virtual bool applyRunState(const RunState &state, QString *error);

    // Assigns `text` to the property `name` (any letter case) through its write
    // accessor. False with *error set for an unknown property or a malformed value.
    bool assign(const QString &name, const QString &text, const QString &baseDirectory,
                QString *error);
};

} // namespace Lumisong
