#include "controls/progressbar/progressbaraccessible.h"

#include "controls/progressbar/progressbar.h"
#include "platform/ui/accessiblefactory.h"
#include "controls/progressbar/progressbarlayout.h"

namespace Lumisong {

ProgressBarAccessible::ProgressBarAccessible(ProgressBar *bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar)
{
}

ProgressBar *ProgressBarAccessible::bar() const
{
    return static_cast<ProgressBar *>(widget());
}

void ProgressBarAccessible::install()
{
    installAccessibleInterface<ProgressBarAccessible, ProgressBar>();
}

bool ProgressBarAccessible::hiddenByProgram() const
{
    // Hidden by setVisible(false), not merely inside a window not yet shown.
    return bar()->isHidden() && bar()->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

QAccessible::State ProgressBarAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (hiddenByProgram())
        state.invisible = true;
    return state;
}

QString ProgressBarAccessible::text(QAccessible::Text t) const
{
    if ((t == QAccessible::Name || t == QAccessible::Value) && hiddenByProgram())
        return {};
    if (t == QAccessible::Name || t == QAccessible::Value)
        return ProgressBarLayout::compute(bar()->state(), bar()->size())
            .caption.value_or(QString());
    return QAccessibleWidget::text(t);
}

void *ProgressBarAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant ProgressBarAccessible::currentValue() const
{
    return bar()->value();
}

QVariant ProgressBarAccessible::maximumValue() const
{
    return bar()->max();
}

QVariant ProgressBarAccessible::minimumValue() const
{
    return bar()->min();
}

QVariant ProgressBarAccessible::minimumStepSize() const
{
    return 1;
}

} // namespace Lumisong
