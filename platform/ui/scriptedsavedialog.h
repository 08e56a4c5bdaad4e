#pragma once

#include "platform/ui/savedialog.h"

#include <QList>
#include <QStringList>

namespace Lumisong {

// Test double: answers from a queue (empty text = Cancel; an exhausted queue
// cancels too) and records every request it was shown with.
class ScriptedSaveDialog final : public SaveDialog
{
public:
    QString askSaveFileName(QWidget *parent, const SaveDialogRequest &request) override;

    void queueAnswer(const QString &path); // empty text = Cancel
    const QList<SaveDialogRequest> &requests() const;

private:
    QStringList m_answers;
    QList<SaveDialogRequest> m_requests;
};

} // namespace Lumisong
