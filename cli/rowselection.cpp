#include "cli/rowselection.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace Lumisong {

namespace {

std::optional<qint64> rowNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QChar c : trimmed) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    // Numbers too long for 64 bits are far outside any list anyway.
    return ok ? value : std::numeric_limits<qint64>::max();
}

} // namespace

RowSelection RowSelection::all()
{
    RowSelection selection;
    selection.m_all = true;
    return selection;
}

std::optional<RowSelection> RowSelection::parse(const QString &text, QString *error)
{
    RowSelection selection;
    const QStringList items = text.split(QLatin1Char(','));
    for (const QString &item : items) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        const std::optional<qint64> first = rowNumber(QStringView(item).left(dash < 0 ? item.size() : dash));
        const std::optional<qint64> last = dash < 0 ? first : rowNumber(QStringView(item).mid(dash + 1));
        if (!first || !last) {
            *error = QStringLiteral("not a row number or range: \"%1\" (use e.g. 1,3,5-9)").arg(item.trimmed());
            return std::nullopt;
        }
        if (*last < *first) {
            *error = QStringLiteral("range runs backwards: \"%1\"").arg(item.trimmed());
            return std::nullopt;
        }
        selection.m_ranges << Range{*first, *last};
    }
    return selection;
}

std::optional<std::vector<bool>> RowSelection::ticks(int rowCount, QString *error) const
{
    std::vector<bool> ticked(size_t(std::max(rowCount, 0)), m_all);
    for (const Range &range : m_ranges) {
        if (range.first < 1 || range.last > rowCount) {
            const qint64 outside = range.first < 1 ? range.first : range.last;
            *error = QStringLiteral("row %1 is outside the list (rows 1 to %2)").arg(outside).arg(rowCount);
            if (rowCount == 0)
                *error = QStringLiteral("row %1 is outside the list (the list is empty)").arg(outside);
            return std::nullopt;
        }
        for (qint64 row = range.first; row <= range.last; ++row)
            ticked[size_t(row - 1)] = true;
    }
    return ticked;
}

} // namespace Lumisong
