#pragma once

#include <QString>
#include <QWidget>

namespace Lumisong {

// A control a form's file must have created: the form's direct child of that
// name and type. The form files are built into the program, so a missing
// control is a build fault and ends the program with a message naming it.
template<typename T> T *designedControl(const QWidget *form, const QString &name)
{
    T *control = form->findChild<T *>(name, Qt::FindDirectChildrenOnly);
    if (!control)
        qFatal("%s: the form file lacks %s", qUtf8Printable(form->objectName()),
               qUtf8Printable(name));
    return control;
}

} // namespace Lumisong
