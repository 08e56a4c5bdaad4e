#pragma once

#include <QPoint>

class QAction;
class QMenu;
class QWidget;

namespace Lumisong {

// One showing of a button's drop-down menu: the menu, the button, the anchor
// in the button's client pixels, the popup-menu flags (buttonpopup.h) and the
// item to show as the menu's default, if any.
struct PopupRequest
{
    QMenu *menu = nullptr;
    QWidget *button = nullptr;
    QPoint anchor;
    int flags = 0;
    QAction *defaultItem = nullptr;
};

// Shows drop-down menus. The showing is modal: present() returns once the menu
// has closed, and the button may have been destroyed meanwhile (present()
// must then not touch it). Replaceable so that tests and scripted runs can
// see the requests and say where the pointer is when the menu closes.
class PopupPresenter
{
public:
    virtual ~PopupPresenter();

    // True when the pointer is over the button's window once the menu has closed.
    virtual bool present(const PopupRequest &request) = 0;
};

} // namespace Lumisong
