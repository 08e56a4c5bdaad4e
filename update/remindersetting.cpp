#include "update/remindersetting.h"

#include "platform/settingsstore.h"

namespace Lumisong {

QString ReminderSetting::read(const SettingsStore &settings)
{
    return settings.value(Section.toString(), Key.toString());
}

void ReminderSetting::silence(SettingsStore &settings, const QString &version)
{
    settings.setValue(Section.toString(), StoreKey.toString(), version);
    settings.sync();
}

void ReminderSetting::clear(SettingsStore &settings)
{
    settings.setValue(Section.toString(), Key.toString(), QString());
    settings.sync();
}

} // namespace Lumisong
