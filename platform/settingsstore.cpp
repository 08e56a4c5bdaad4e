#include "platform/settingsstore.h"

#include <algorithm>

#include <QFile>
#include <QSettings>
#include <QStringDecoder>

namespace Lumisong {

namespace {

// INI text is UTF-8 without control characters but TAB, CR and LF. The INI
// reader takes nearly any bytes as keys and values; a file that is no such
// text is taken as corrupt as a whole, not picked over.
bool isCorrupt(const QSettings &settings)
{
    if (settings.status() == QSettings::FormatError)
        return true;
    QFile file(settings.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return false; // absent or unreadable: empty anyway
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    if (utf8.hasError())
        return true;
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n';
    });
}

} // namespace

SettingsStore::SettingsStore(const QString &application)
    : SettingsStore(
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application))
{
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings)), m_corrupt(isCorrupt(*m_settings))
{
}

SettingsStore SettingsStore::atPath(const QString &iniFilePath)
{
    return SettingsStore(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat));
}

SettingsStore::SettingsStore(SettingsStore &&) noexcept = default;
SettingsStore &SettingsStore::operator=(SettingsStore &&) noexcept = default;
SettingsStore::~SettingsStore() = default;

QStringList SettingsStore::pathsOf(const QString &section, const QString &key) const
{
    QStringList found;
    for (const QString &group : m_settings->childGroups()) {
        if (group.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        m_settings->beginGroup(group);
        const QStringList keys = m_settings->childKeys();
        m_settings->endGroup();
        for (const QString &k : keys) {
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                found.append(group + u'/' + k);
        }
    }
    return found;
}

QString SettingsStore::value(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const QStringList paths = m_corrupt ? QStringList() : pathsOf(section, key);
    if (paths.isEmpty())
        return defaultValue;
    // Prefer the exact spelling when a hand-edited file holds several.
    const QString exact = section + u'/' + key;
    return m_settings->value(paths.contains(exact) ? exact : paths.constFirst()).toString();
}

void SettingsStore::setValue(const QString &section, const QString &key, const QString &value)
{
    startOverIfCorrupt();
    for (const QString &path : pathsOf(section, key))
        m_settings->remove(path);
    m_settings->setValue(section + u'/' + key, value);
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    startOverIfCorrupt();
    for (const QString &path : pathsOf(section, key))
        m_settings->remove(path);
}

void SettingsStore::startOverIfCorrupt()
{
    if (!m_corrupt)
        return;
    // The store reads as empty, so it is written as if it were; the old bytes
    // stay beside it for whoever wants them back.
    m_corrupt = false;
    const QString aside = fileName() + QStringLiteral(".corrupt");
    QFile::remove(aside);
    QFile::copy(fileName(), aside);
    m_settings->clear();
}

void SettingsStore::sync()
{
    m_settings->sync();
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

} // namespace Lumisong
