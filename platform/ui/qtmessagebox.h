#pragma once

#include "platform/ui/messagebox.h"

namespace Lumisong {

// MessageBox shown with QMessageBox.
class QtMessageBox final : public MessageBox
{
public:
    Answer show(QWidget *parent, const QString &text, const QString &caption, Icon icon,
                Buttons buttons) override;
};

} // namespace Lumisong
