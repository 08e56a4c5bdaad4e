#pragma once

#include <QString>
#include <QStringView>

namespace Lumisong {

class SettingsStore;

// The reminder setting: the version the user asked not to be reminded of, in
// section "Lumisong" of the per-user settings store. Start-up reads it as
// "VersionNotip"; a silenced version is written as "VersionNoTip" and a
// cleared one as "VersionNotip". The store does not tell the spellings apart,
// so all name one value.
class ReminderSetting
{
public:
    static constexpr QStringView Section = u"Lumisong";
    static constexpr QStringView Key = u"VersionNotip";
    static constexpr QStringView StoreKey = u"VersionNoTip";

    // SkippedVersion: the stored version, "" when there is none.
    static QString read(const SettingsStore &settings);
    // "本版本不再提示" was ticked: `version` is not announced again.
    static void silence(SettingsStore &settings, const QString &version);
    // It was not: an earlier silenced version is announced again.
    static void clear(SettingsStore &settings);
};

} // namespace Lumisong
