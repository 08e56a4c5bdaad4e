#pragma once

#include "platform/ui/savedialog.h"

#include <QList>

namespace Lumisong {

// Test double: answers from a queue (an empty path = Cancel; an exhausted
// queue cancels too) and records every request it was shown with.
class ScriptedSaveDialog final : public SaveDialog
{
public:
    SaveDialogAnswer askSaveFileName(QWidget *parent, const SaveDialogRequest &request) override;
    // Folders come from the same queue; the request recorded has the title
    // and the start folder only.
    QString askFolder(QWidget *parent, const QString &title, const QString &startFolder) override;

    // An empty path = Cancel; `type` is the filter entry chosen, from 0.
    void queueAnswer(const QString &path, int type = 0);
    const QList<SaveDialogRequest> &requests() const;

private:
    QList<SaveDialogAnswer> m_answers;
    QList<SaveDialogRequest> m_requests;
};

} // namespace Lumisong
