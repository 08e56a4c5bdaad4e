#include "tools/preview/previewcontrol.h"

#include <QMetaProperty>
#include <QWidget>

#include "tools/preview/propertytext.h"

namespace Lumisong {

PreviewControl::~PreviewControl() = default;

bool PreviewControl::setThemesAvailable(bool available, QString *error)
{
    if (available)
        return true;
    *error = QStringLiteral("--no-theme applies to the skinned button only");
    return false;
}

bool PreviewControl::applyRunState(const RunState &state, QString *error)
{
    if (state.isPlain())
        return true;
    *error = QStringLiteral("--state, --focus, --default, --active and --over apply to the skinned button only");
    return false;
}

bool PreviewControl::assign(const QString &name, const QString &text,
                            const QString &baseDirectory, QString *error)
{
    const QMetaObject *meta = widget()->metaObject();
    // Only the control's own properties: QWidget's enabled flag is not the control's property.
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (QString::fromLatin1(property.name()).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const std::optional<QVariant> value =
            PropertyText::parse(text, property.metaType(), baseDirectory, error);
        if (!value) {
            *error = QStringLiteral("malformed value for %1: %2")
                         .arg(QString::fromLatin1(property.name()), *error);
            return false;
        }
        if (!property.write(widget(), *value)) {
            *error = QStringLiteral("cannot assign %1").arg(QString::fromLatin1(property.name()));
            return false;
        }
        return true;
    }
    *error = QStringLiteral("unknown property: %1").arg(name);
    return false;
}

} // namespace Lumisong
