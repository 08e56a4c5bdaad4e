#pragma once

#include <QChar>

namespace Lumisong {

// A character that no single line of text may carry: a control character (CR
// and LF among them) or a Unicode line or paragraph separator.
inline bool breaksLine(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

} // namespace Lumisong
