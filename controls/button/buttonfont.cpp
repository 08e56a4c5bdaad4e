#include "controls/button/buttonfont.h"

namespace Lumisong {

ButtonFont::ButtonFont(const FontDescription &description, QObject *parent)
    : QObject(parent)
    , m_description(description)
{
}

void ButtonFont::setDescription(const FontDescription &description)
{
    m_description = description;
    emit changed();
}

void ButtonFont::setName(const QString &face)
{
    m_description.face = face;
    emit changed();
}

void ButtonFont::setSize(double points)
{
    m_description.points = points;
    emit changed();
}

void ButtonFont::setBold(bool bold)
{
    m_description.bold = bold;
    emit changed();
}

void ButtonFont::setItalic(bool italic)
{
    m_description.italic = italic;
    emit changed();
}

void ButtonFont::setUnderline(bool underline)
{
    m_description.underline = underline;
    emit changed();
}

void ButtonFont::setStrikethrough(bool strikeout)
{
    m_description.strikeout = strikeout;
    emit changed();
}

} // namespace Lumisong
