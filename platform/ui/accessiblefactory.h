#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>

namespace Lumisong {

// Makes Qt's accessibility describe every widget of class Widget (exactly that
// class) by a new Interface(widget). Installs the factory once per pair.
template <typename Interface, typename Widget> void installAccessibleInterface()
{
    static const bool installed = [] {
        QAccessible::installFactory(
            [](const QString &className, QObject *object) -> QAccessibleInterface * {
                if (!object || !object->isWidgetType() ||
                    className != QLatin1String(Widget::staticMetaObject.className()))
                    return nullptr;
                return new Interface(static_cast<Widget *>(object));
            });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace Lumisong
