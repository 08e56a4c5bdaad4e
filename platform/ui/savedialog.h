#pragma once

#include <QString>

class QWidget;

namespace Lumisong {

// What the program sets on the save dialog before each showing.
struct SaveDialogRequest
{
    QString title;         // window title
    QString fileName;      // preset file name (no folder)
    QString defaultSuffix; // appended to a name typed without extension when the chosen
                           // type names no single extension of its own, e.g. "lst"
    QString filter;        // "description|pattern|description|pattern..." ("|" separated pairs)
};

// The file-save dialog. The dialog never asks about overwriting an existing
// file itself: the program asks with its own message box. Tests substitute
// ScriptedSaveDialog.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;
    // Returns the chosen absolute file path, or the empty text when the user cancelled.
    virtual QString askSaveFileName(QWidget *parent, const SaveDialogRequest &request) = 0;
};

} // namespace Lumisong
