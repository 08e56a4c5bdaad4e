#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace Lumisong {

// The songs an export writes: every row, or rows and ranges counted from 1
// as in "1,3,5-9". Order and repetition in the text do not matter; the list
// file always follows the list's order.
class RowSelection
{
public:
    static RowSelection all();
    // nullopt with *error set when the text is no list of rows and ranges.
    static std::optional<RowSelection> parse(const QString &text, QString *error);

    // One tick per row of a list with rowCount rows; nullopt with *error set
    // when a chosen row lies outside the list.
    std::optional<std::vector<bool>> ticks(int rowCount, QString *error) const;

private:
    struct Range
    {
        qint64 first = 0; // counted from 1, inclusive
        qint64 last = 0;
    };

    bool m_all = false;
    QList<Range> m_ranges;
};

} // namespace Lumisong
