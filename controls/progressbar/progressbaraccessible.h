#pragma once

#include <QAccessibleWidget>

namespace Lumisong {

class ProgressBar;

// What assistive technology sees of the progress bar: a progress bar named by
// the caption it shows, whose value is Value between Min and Max. A bar its
// program has hidden is not showing and has no name: a reader that lists it
// anyway must not read out the designed placeholder text.
class ProgressBarAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressBarAccessible(ProgressBar *bar);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    // The bar is driven by its program, not by the user.
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // Makes Qt's accessibility use this interface for every progress bar.
    static void install();

private:
    ProgressBar *bar() const;
    bool hiddenByProgram() const;
};

} // namespace Lumisong
