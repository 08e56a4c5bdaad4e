#pragma once

#include <QPoint>
#include <QSize>

#include "controls/button/popuppresenter.h"

namespace Lumisong {

// The real drop-down: the QMenu opened at the screen point of the anchor, its
// corner chosen by the flags (right-align puts the menu's right edge at the
// anchor, bottom-align its bottom edge, the centre flags its middle), with
// the requested default item shown as the menu's default for this showing.
class MenuPopupPresenter final : public PopupPresenter
{
public:
    static MenuPopupPresenter &instance();

    bool present(const PopupRequest &request) override;

    // Top-left corner of a menu of `menuSize` placed at `anchor` by `flags`.
    static QPoint menuTopLeft(QPoint anchor, QSize menuSize, int flags);
};

} // namespace Lumisong
