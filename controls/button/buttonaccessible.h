#pragma once

#include <QAccessibleWidget>

namespace Lumisong {

class zephbutton;

// What assistive technology sees of a skinned button: a push button, check
// box or radio button by Mode, named by its accessible name, else its caption
// without the access-key ampersands, else (a picture-only button) its ToolTip;
// described by its ToolTip, with its pressed, checked, disabled and focused
// states. Its press action clicks it as its access key does, and names that
// key as its binding ("Alt+A").
class ButtonAccessible final : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(zephbutton *button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    // "Save && &Load" reads "Save & Load".
    static QString withoutAccessKeyMarks(const QString &caption);
    // Makes Qt's accessibility use this interface for every skinned button.
    static void install();

private:
    zephbutton *button() const;
    QString accessKeyText() const; // "Alt+A", empty without an access key
};

} // namespace Lumisong
