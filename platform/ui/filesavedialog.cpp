#include "platform/ui/filesavedialog.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace Lumisong {

SaveDialogAnswer FileSaveDialog::askSaveFileName(QWidget *parent, const SaveDialogRequest &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList types = toQtFilters(request.filter);
    dialog.setNameFilters(types);
    // A bare name gets the extension of the type chosen, not always the first type's.
    const auto followType = [&dialog, &request](const QString &filter) {
        dialog.setDefaultSuffix(suffixForFilter(filter, request.defaultSuffix));
    };
    followType(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followType);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return {};
    const qsizetype type = types.indexOf(dialog.selectedNameFilter());
    return {files.constFirst(), int(std::max<qsizetype>(type, 0))};
}

QString FileSaveDialog::askFolder(QWidget *parent, const QString &title, const QString &startFolder)
{
    QFileDialog dialog(parent, title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString FileSaveDialog::suffixForFilter(const QString &qtFilter, const QString &fallback)
{
    static const QRegularExpression patterns(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    static const QRegularExpression single(QStringLiteral("^\\*\\.([^*?.\\[\\]]+)$"));
    const QRegularExpressionMatch list = patterns.match(qtFilter);
    if (!list.hasMatch())
        return fallback;
    const QStringList entries = list.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (entries.size() != 1)
        return fallback;
    const QRegularExpressionMatch extension = single.match(entries.constFirst());
    return extension.hasMatch() ? extension.captured(1) : fallback;
}

QString FileSaveDialog::toQtFilter(const QString &pipeFilter)
{
    return toQtFilters(pipeFilter).join(QStringLiteral(";;"));
}

QStringList FileSaveDialog::toQtFilters(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString suffix = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (description.endsWith(suffix))
            entries << description;
        else if (description.isEmpty())
            entries << suffix;
        else
            entries << description + QLatin1Char(' ') + suffix;
    }
    return entries;
}

} // namespace Lumisong
