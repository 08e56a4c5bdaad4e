#pragma once

#include <QHash>
#include <QString>

#include <functional>

#include "forms/formdesign.h"

class QObject;
class QWidget;

namespace Lumisong {

// Builds a form's controls from its form file. Each control type of the file
// has a factory that creates the control as a child of the form and applies the
// control's properties; the loader names it after the design and, for widgets,
// places it at its twips position; controls stack in file order, the first at
// the bottom. Types: "Label", "Image", "TextBox", "CheckBox", "ListView",
// "CommandButton", "Timer", "Lumisong.ProgressBar", "Lumisong.zephbutton",
// plus whatever registerType adds.
class FormLoader
{
public:
    using Factory = std::function<QObject *(QWidget *form, const ControlDesign &design)>;

    FormLoader();

    void registerType(const QString &type, Factory factory);

    // Applies caption and client size to the form and creates every control.
    // Returns false with *error set when a control type is unknown; controls
    // created up to then stay.
    bool build(QWidget *form, const FormDesign &design, QString *error) const;
    // Reads a form file (usually a resource, ":/forms/frmmain.json") and
    // builds it with the standard types.
    static bool buildFile(QWidget *form, const QString &formFile, QString *error);

private:
    QHash<QString, Factory> m_factories;
};

} // namespace Lumisong
