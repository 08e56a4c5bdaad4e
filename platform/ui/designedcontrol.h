#pragma once

#include <QString>
#include <QWidget>

namespace Lumisong {

// A control a form's file must have created: the form's direct child of that
// name, of type T. The form files are built into the program, so a control
// that is missing or of another type is a build fault and ends the program
// with a message naming it.
template<typename T> T *designedControl(const QWidget *form, const QString &name)
{
    QObject *found = form->findChild<QObject *>(name, Qt::FindDirectChildrenOnly);
    if (!found)
        qFatal("%s: the form file lacks %s", qUtf8Printable(form->objectName()),
               qUtf8Printable(name));
    T *control = qobject_cast<T *>(found);
    if (!control)
        qFatal("%s: %s is a %s, not a %s", qUtf8Printable(form->objectName()),
               qUtf8Printable(name), found->metaObject()->className(),
               T::staticMetaObject.className());
    return control;
}

} // namespace Lumisong
