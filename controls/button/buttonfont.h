#pragma once

#include <QObject>

#include "platform/fontdescription.h"

namespace Lumisong {

// The font object a skinned button keeps by reference: whoever holds it may
// change an attribute, and the button hears of it through changed() and
// redraws. Setting an attribute to the value it has is still a change.
class ButtonFont final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ButtonFont)

public:
    explicit ButtonFont(const FontDescription &description, QObject *parent = nullptr);

    const FontDescription &description() const { return m_description; }
    void setDescription(const FontDescription &description);

    void setName(const QString &face);
    void setSize(double points);
    void setBold(bool bold);
    void setItalic(bool italic);
    void setUnderline(bool underline);
    void setStrikethrough(bool strikeout);

signals:
    void changed();

private:
    FontDescription m_description;
};

} // namespace Lumisong
