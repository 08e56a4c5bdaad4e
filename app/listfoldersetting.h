#pragma once

#include <QString>
#include <QStringView>

namespace Lumisong {

class SettingsStore;

// The folder the save dialog of "生成列表" opens in: the folder of the last
// list written, kept in section "Lumisong" of the per-user settings store;
// without one (or when it is gone) the user's music folder, if there is one,
// else the home folder.
class ListFolderSetting
{
public:
    static constexpr QStringView Section = u"Lumisong";
    static constexpr QStringView Key = u"LastListFolder";
    // The folder songs were last downloaded into ("下载歌曲").
    static constexpr QStringView DownloadKey = u"LastDownloadFolder";

    // An absolute folder that exists; `settings` may be null (nothing kept).
    static QString startFolder(const SettingsStore *settings, QStringView key = Key);
    // A list was written to `filePath`: its folder is where the next dialog opens.
    static void remember(SettingsStore *settings, const QString &filePath);
    // Songs were downloaded into `folder`.
    static void rememberDownloadFolder(SettingsStore *settings, const QString &folder);
};

} // namespace Lumisong
