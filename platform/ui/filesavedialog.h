#pragma once

#include "platform/ui/savedialog.h"

namespace Lumisong {

// SaveDialog over QFileDialog, with the dialog's own overwrite prompt switched off.
class FileSaveDialog final : public SaveDialog
{
public:
    QString askSaveFileName(QWidget *parent, const SaveDialogRequest &request) override;

    // "列表文件(*.lst)|*.lst|所有文件(*.*)|*.*" -> "列表文件(*.lst);;所有文件(*.*)".
    // A description that does not already end with its pattern in parentheses
    // gets it appended; ";" between patterns becomes a blank, as Qt separates them.
    static QString toQtFilter(const QString &pipeFilter);
};

} // namespace Lumisong
