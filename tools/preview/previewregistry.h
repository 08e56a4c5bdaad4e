#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "tools/preview/previewcontrol.h"

namespace Lumisong {

// The controls the preview tool knows, by the names forms use for them.
class PreviewRegistry
{
public:
    using Factory = std::function<std::unique_ptr<PreviewControl>(QSize size)>;

    // Every control of the program, registered once.
    static PreviewRegistry &instance();

    void add(const QString &name, Factory factory);
    // Nothing for a name the registry does not know.
    std::unique_ptr<PreviewControl> create(const QString &name, QSize size) const;
    QStringList names() const;

private:
    PreviewRegistry();

    QList<std::pair<QString, Factory>> m_factories;
};

} // namespace Lumisong
