#include "app/listfoldersetting.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/settingsstore.h"

namespace Lumisong {

QString ListFolderSetting::startFolder(const SettingsStore *settings)
{
    if (settings) {
        const QString kept = settings->value(Section.toString(), Key.toString());
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

} // namespace Lumisong
