#pragma once

#include <QList>
#include <QString>

#include <algorithm>

namespace Lumisong {

// One member of a control's public face as a property browser or the preview
// tool's --describe lists it.
struct MemberDescription
{
    enum Kind { Property, Method, Event };

    Kind kind = Property;
    QString name;
    QString type;         // "Long", "Boolean", "OLE_COLOR", "String", "Font", "Picture" ...
    QString initialValue; // the value of a newly placed control
    QString savedDefault; // the default its saved properties are written against
    QString help;         // the description text; empty when it has none
};

// The rows of a control's property table that take part in one of its steps
// (placing, reading, writing...): those whose `step` position is above 0, in
// that step's order.
template <typename Row>
QList<const Row *> inStepOrder(const QList<Row> &table, int Row::*step)
{
    QList<const Row *> rows;
    for (const Row &row : table) {
        if (row.*step > 0)
            rows.append(&row);
    }
    std::sort(rows.begin(), rows.end(), [step](const Row *a, const Row *b) { return a->*step < b->*step; });
    return rows;
}

} // namespace Lumisong
