#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace Lumisong {

// The per-user settings store: application -> section -> key -> text, kept in
// an INI file of the user's configuration folder. Section and key names are
// compared without regard to letter case ("VersionNotip" and "VersionNoTip" are
// one key, "[lumisong]" and "[Lumisong]" one section), although the INI file
// keeps the spelling of the last write. A file that is
// not INI text reads as empty; the first write then starts it afresh and keeps
// the old bytes beside it as "<file>.corrupt". A file that cannot be written
// leaves the values in memory for this run; nothing is reported.
class SettingsStore
{
public:
    // The store of one application in the user's configuration folder.
    explicit SettingsStore(const QString &application);
    // A store kept in the given INI file (tests, portable set-ups).
    static SettingsStore atPath(const QString &iniFilePath);

    SettingsStore(SettingsStore &&) noexcept;
    SettingsStore &operator=(SettingsStore &&) noexcept;
    ~SettingsStore();

    QString value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    // Replaces every spelling of the section and key by this one.
    void setValue(const QString &section, const QString &key, const QString &value);
    void remove(const QString &section, const QString &key);
    // Writes pending changes to disk; also done when the store ends.
    void sync();

    QString fileName() const;

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    // Every "section/key" path naming the entry, whatever the letter case.
    QStringList pathsOf(const QString &section, const QString &key) const;
    void startOverIfCorrupt();

    std::unique_ptr<QSettings> m_settings;
    bool m_corrupt = false;
};

} // namespace Lumisong
