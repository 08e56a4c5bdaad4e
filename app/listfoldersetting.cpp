#include "app/listfoldersetting.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/settingsstore.h"

namespace Lumisong {

QString ListFolderSetting::startFolder(const SettingsStore *settings, QStringView key)
{
    if (settings) {
        const QString kept = settings->value(Section.toString(), key.toString());
        if (!kept.isEmpty() && QFileInfo(kept).isDir())
            return QDir(kept).absolutePath();
    }
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir())
        return music;
    return QDir::homePath();
}

void ListFolderSetting::remember(SettingsStore *settings, const QString &filePath)
{
    if (!settings || filePath.isEmpty())
        return;
    settings->setValue(Section.toString(), Key.toString(), QFileInfo(filePath).absolutePath());
    settings->sync();
}

void ListFolderSetting::rememberDownloadFolder(SettingsStore *settings, const QString &folder)
{
    if (!settings || folder.isEmpty())
        return;
    settings->setValue(Section.toString(), DownloadKey.toString(), QDir(folder).absolutePath());
    settings->sync();
}

} // namespace Lumisong
