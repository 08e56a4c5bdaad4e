#pragma once

#include <QAccessibleWidget>

namespace Lumisong {

// What assistive technology sees of a program's own top-level window: a
// window (a frame to AT-SPI) named by its title. Qt would describe a plain
// QWidget window as a nameless client area.
class WindowAccessible final : public QAccessibleWidget
{
public:
    explicit WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}
};

} // namespace Lumisong
