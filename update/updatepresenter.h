#pragma once

#include <QString>

namespace Lumisong {

struct UpdateNotice;

// The window side of the version check: the status line and the update
// dialog. A check without a window (--check-update) shows nothing.
class UpdatePresenter
{
public:
    virtual ~UpdatePresenter() = default;

    // A reminder is due; the dialog opens next.
    virtual void setStatus(const QString &text) = 0;
    // Loads the update dialog, fills it from `notice` and shows it modally;
    // returns once it has closed (or the program is ending).
    virtual void showUpdate(const UpdateNotice &notice) = 0;
};

} // namespace Lumisong
