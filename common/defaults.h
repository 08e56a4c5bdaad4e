#pragma once

#include <QStringView>

// Addresses and names the program uses unless told otherwise; the only place
// where they are written down.
namespace Lumisong::Defaults {

// The new-songs site: scheme, host and port, no path. The catalogue is its
// root page "/"; the same base is the prefix of every download address. The
// default is the demo site as `lumisong-demosite` starts it, so a fresh check-out
// works end to end; real use names its site with --site.
inline constexpr QStringView SiteBase = u"http://127.0.0.1:8642";

// The page that announces the newest version.
inline constexpr QStringView UpdateUrl = u"http://127.0.0.1:8642/version.html";

// Per-user settings: the application whose store holds the reminder setting
// (its section and key: update/remindersetting.h).
inline constexpr QStringView SettingsApplication = u"Tolvane";

// Name of the per-user lock that keeps a second run from starting.
inline constexpr QStringView InstanceLockName = u"Lumisong";

// The program's title, the caption of its message boxes.
inline constexpr QStringView ProgramTitle = u"Lumisong";

} // namespace Lumisong::Defaults
