#pragma once

#include <QObject>
#include <QString>

namespace Lumisong::Test {

// A form's control by its design name (forms give their controls their design
// names as object names), of type T; null when there is none. An empty name
// finds the first child of type T.
template<typename T> T *formControl(const QObject *form, const char *name)
{
    return form->findChild<T *>(QString::fromLatin1(name));
}

} // namespace Lumisong::Test
