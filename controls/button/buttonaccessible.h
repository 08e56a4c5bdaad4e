#pragma once

#include <QAccessibleWidget>

namespace Lumisong {

class zephbutton;

// What assistive technology sees of a skinned button: a push button, check
// box or radio button by Mode, named by its caption without the access-key
// ampersands, described by its ToolTip, with its pressed, checked, disabled
// and focused states. Its press action clicks it as its access key does.
class ButtonAccessible final : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(zephbutton *button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // "Save && &Load" reads "Save & Load".
    static QString withoutAccessKeyMarks(const QString &caption);
    // Makes Qt's accessibility use this interface for every skinned button.
    static void install();

private:
    zephbutton *button() const;
};

} // namespace Lumisong
