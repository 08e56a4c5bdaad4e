#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace Lumisong {

// One control of a form file. Positions and sizes in twips; "properties" is
// the control's own JSON (plain values for Qt controls, a PropertyBag's JSON
// form for the program's own controls).
struct ControlDesign
{
    QString name;
    QString type;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QJsonObject properties;
};

// A form file (<folder>/forms/<form>.json): the form's name, caption, client size
// in twips and its controls in creation order.
struct FormDesign
{
    QString name;
    QString caption;
    int clientWidth = 0;
    int clientHeight = 0;
    QList<ControlDesign> controls;

    // A form file is a few kilobytes; a text past this size is refused unread.
    static constexpr qsizetype MaxBytes = 16 * 1024 * 1024;
    // The program's own controls ("Lumisong." types) redraw every pixel they
    // cover whenever a property changes, so together they cover at most this
    // many pixels at 96 dpi (the main form's take 30000); a form asking for
    // more would take seconds and gigabytes to load, and is refused.
    static constexpr qint64 MaxOwnControlPixels = 1024 * 1024;

    // nullopt with *error set when the text is not a form file.
    static std::optional<FormDesign> fromJson(const QByteArray &json, QString *error);
    // Reads a form file, usually from the resources (":/forms/frmmain.json").
    static std::optional<FormDesign> fromFile(const QString &path, QString *error);

    const ControlDesign *control(const QString &name) const;
};

} // namespace Lumisong
