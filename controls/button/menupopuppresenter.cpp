#include "controls/button/menupopuppresenter.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "controls/button/buttonpopup.h"

namespace Lumisong {

MenuPopupPresenter &MenuPopupPresenter::instance()
{
    static MenuPopupPresenter presenter;
    return presenter;
}

QPoint MenuPopupPresenter::menuTopLeft(QPoint anchor, QSize menuSize, int flags)
{
    int x = anchor.x();
    if (flags & MenuRightAlign)
        x -= menuSize.width();
    else if (flags & MenuCentreAlign)
        x -= menuSize.width() / 2;
    int y = anchor.y();
    if (flags & MenuBottomAlign)
        y -= menuSize.height();
    else if (flags & MenuVCentreAlign)
        y -= menuSize.height() / 2;
    return {x, y};
}

bool MenuPopupPresenter::present(const PopupRequest &request)
{
    const QPointer<QMenu> menu(request.menu);
    const QPointer<QWidget> button(request.button);
    if (!menu || !button)
        return false;
    // The default item is this showing's; the menu's own comes back afterwards.
    const QPointer<QAction> previousDefault(menu->defaultAction());
    if (request.defaultItem && menu->actions().contains(request.defaultItem))
        menu->setDefaultAction(request.defaultItem);
    menu->ensurePolished();
    const QPoint anchor = button->mapToGlobal(request.anchor);
    menu->exec(menuTopLeft(anchor, menu->sizeHint(), request.flags));
    if (menu)
        menu->setDefaultAction(previousDefault);
    if (!button)
        return false;
    return QApplication::widgetAt(QCursor::pos()) == button;
}

} // namespace Lumisong
