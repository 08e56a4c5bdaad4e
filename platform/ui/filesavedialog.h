#pragma once

#include <QStringList>

#include "platform/ui/savedialog.h"

namespace Lumisong {

// SaveDialog over QFileDialog, with the dialog's own overwrite prompt switched
// off. A name typed without extension gets the extension of the chosen type.
class FileSaveDialog final : public SaveDialog
{
public:
    SaveDialogAnswer askSaveFileName(QWidget *parent, const SaveDialogRequest &request) override;
    QString askFolder(QWidget *parent, const QString &title, const QString &startFolder) override;

    // "列表文件(*.lst)|*.lst|所有文件(*.*)|*.*" -> "列表文件(*.lst);;所有文件(*.*)".
    // A description that does not already end with its pattern in parentheses
    // gets it appended; ";" between patterns becomes a blank, as Qt separates them.
    static QString toQtFilter(const QString &pipeFilter);
    // The same entries one by one, in order.
    static QStringList toQtFilters(const QString &pipeFilter);
    // The suffix a bare file name gets under a Qt filter: the filter's one
    // extension ("文本文件(*.txt)" -> "txt"), else `fallback` ("*.*", several
    // patterns, wildcards in the extension).
    static QString suffixForFilter(const QString &qtFilter, const QString &fallback);
};

} // namespace Lumisong
