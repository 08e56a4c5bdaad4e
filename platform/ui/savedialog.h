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
    QString folder;        // the folder the dialog opens in, where a bare name lands;
                           // empty: the dialog's own choice
};

// What the user settled on.
struct SaveDialogAnswer
{
    QString path; // the chosen absolute file path; empty when the user cancelled
    int type = 0; // the chosen entry of the request's filter, counted from 0
};

// The file-save dialog, and the folder dialog. The dialog never asks about
// overwriting an existing file itself: the program asks with its own message
// box. Tests substitute ScriptedSaveDialog.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;
    virtual SaveDialogAnswer askSaveFileName(QWidget *parent, const SaveDialogRequest &request) = 0;
    // A folder, starting in `startFolder`; empty when the user cancelled.
    virtual QString askFolder(QWidget *parent, const QString &title, const QString &startFolder) = 0;
};

} // namespace Lumisong
