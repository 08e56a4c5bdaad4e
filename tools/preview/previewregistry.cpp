#include "tools/preview/previewregistry.h"

#include "tools/preview/progressbarpreview.h"
#include "tools/preview/zephbuttonpreview.h"

namespace Lumisong {

PreviewRegistry::PreviewRegistry()
{
    add(QStringLiteral("Lumisong.ProgressBar"),
        [](QSize size) { return std::make_unique<ProgressBarPreview>(size); });
    add(QStringLiteral("Lumisong.zephbutton"),
        [](QSize size) { return std::make_unique<ZephButtonPreview>(size); });
}

PreviewRegistry &PreviewRegistry::instance()
{
    static PreviewRegistry registry;
    return registry;
}

void PreviewRegistry::add(const QString &name, Factory factory)
{
    m_factories.append({name, std::move(factory)});
}

std::unique_ptr<PreviewControl> PreviewRegistry::create(const QString &name, QSize size) const
{
    for (const auto &[known, factory] : m_factories) {
        if (known == name)
            return factory(size);
    }
    return nullptr;
}

QStringList PreviewRegistry::names() const
{
    QStringList result;
    for (const auto &entry : m_factories)
        result.append(entry.first);
    return result;
}

} // namespace Lumisong
