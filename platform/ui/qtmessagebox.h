#pragma once

#include "platform/ui/messagebox.h"

class QFont;

namespace Lumisong {

// MessageBox shown with QMessageBox, never narrower than its caption needs.
class QtMessageBox final : public MessageBox
{
public:
    // Room a title bar takes beside the caption (icon, buttons, padding), in pixels.
    static constexpr int TitleBarDecorations = 150;

    // The least width of a box whose title bar shows `caption` readably.
    static int minimumWidthFor(const QString &caption, const QFont &font);

    Answer show(QWidget *parent, const QString &text, const QString &caption, Icon icon,
                Buttons buttons) override;
};

} // namespace Lumisong
