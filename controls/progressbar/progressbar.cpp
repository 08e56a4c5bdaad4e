#include "controls/progressbar/progressbar.h"

#include "controls/progressbar/progressbarmembers.h"

#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>

#include <type_traits>
#include <variant>

#include "controls/progressbar/progressbaraccessible.h"
#include "controls/progressbar/progressbarmembers.h"
#include "controls/progressbar/progressbarrenderer.h"
#include "platform/pixelrect.h"
#include "platform/propertybag.h"

namespace Lumisong {

ProgressBar::ProgressBar(QWidget *parent) : QWidget(parent)
{
    // The surface covers every pixel inside the mask, so what lies beneath
    // (the song list, on the main window) is not repainted at every redraw.
    setAttribute(Qt::WA_OpaquePaintEvent);
    ProgressBarAccessible::install();
    // What a fresh state holds.
    m_surface.setFont(FontDescription().toQFont());
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::changed(ProgressBarPropertyId id)
{
    emit propertyChanged(QString::fromLatin1(ProgressBarMembers::property(id).name));
    redraw();
}

template <typename T>
void ProgressBar::assign(T ProgressBarState::*field, const T &NewValue, ProgressBarPropertyId id)
{
    m_state.*field = NewValue;
    changed(id);
}

void ProgressBar::setValue(int NewValue)
{
    if (NewValue > m_state.max)
        NewValue = m_state.max;
    if (NewValue < m_state.min)
        NewValue = m_state.min;
    m_state.value = NewValue;
    changed(ProgressBarPropertyId::Value);
}

void ProgressBar::setMax(int NewValue)
{
    if (NewValue < 1)
        NewValue = 1;
    if (NewValue <= m_state.min)
        NewValue = m_state.min + 1; // Min stays below Max, so this cannot overflow
    m_state.max = NewValue;
    if (m_state.value > m_state.max)
        setValue(m_state.max);
    changed(ProgressBarPropertyId::Max);
}

void ProgressBar::setMin(int NewValue)
{
    if (NewValue >= m_state.max)
        NewValue = m_state.max - 1;
    if (NewValue < 0)
        NewValue = 0;
    m_state.min = NewValue;
    if (m_state.value < m_state.min)
        setValue(m_state.min);
    changed(ProgressBarPropertyId::Min);
}

// The setters of the rows that store the value as given.
#define LUMISONG_PLAIN_SETTER(ApiType, field, getter, Name, ...) \
    void ProgressBar::set##Name(ArgOf<ApiType> NewValue) \
    { \
        assign(&ProgressBarState::field, NewValue, ProgressBarPropertyId::Name); \
    }
#define LUMISONG_CHECKED_SETTER(ApiType, field, getter, Name, ...)
LUMISONG_PROGRESSBAR_PROPERTIES(LUMISONG_PLAIN_SETTER, LUMISONG_CHECKED_SETTER)
#undef LUMISONG_PLAIN_SETTER
#undef LUMISONG_CHECKED_SETTER

// The surface draws the text in the font the bar holds.
void ProgressBar::setTextFont(const FontDescription &NewValue)
{
    m_surface.setFont(NewValue.toQFont());
    assign(&ProgressBarState::textFont, NewValue, ProgressBarPropertyId::TextFont);
}

void ProgressBar::GradientTwoColour(Surface &hDC, int Direction, Colour StartColor,
                                    Colour EndColor, int Left, int Top, int Width, int Height)
{
    ProgressBarRenderer::gradientTwoColour(hDC, Direction, StartColor, EndColor,
                                           {Left, Top, Width, Height});
    if (&hDC == &m_surface)
        update();
}

void ProgressBar::DrawGradientFourColour(Surface &ObjectHDC, int Left, int Top, int Width,
                                         int Height, Colour TopLeftColour, Colour TopRightColour,
                                         Colour BottomLeftColour, Colour BottomRightColour)
{
    ProgressBarRenderer::drawGradientFourColour(ObjectHDC, Left, Top, Width, Height, TopLeftColour,
                                                TopRightColour, BottomLeftColour,
                                                BottomRightColour);
    if (&ObjectHDC == &m_surface)
        update();
}

QString ProgressBar::aboutText()
{
    return QStringLiteral("Lumisong ProgressBar %1\n"
                          "A rounded progress bar with ten colour themes and captions "
                          "in nine positions and five effects.")
        .arg(QStringLiteral(LUMISONG_VERSION_TEXT));
}

void ProgressBar::About()
{
    QMessageBox::information(this, QStringLiteral("About"), aboutText());
}

void ProgressBar::UserControl_InitProperties()
{
    for (const ProgressBarProperty *p : ProgressBarMembers::inOrder(&ProgressBarProperty::initOrder))
        p->set(*this, *p->initial);
}

void ProgressBar::UserControl_ReadProperties(const PropertyBag &PropBag)
{
    // An entry that cannot be read leaves its property as it was; reading goes on.
    for (const ProgressBarProperty *p : ProgressBarMembers::inOrder(&ProgressBarProperty::readOrder)) {
        const PropertyBag::Value defaultValue = p->readsName ? PropertyBag::Value(objectName()) : p->saved;
        std::visit(
            [&](const auto &fallback) {
                using T = std::decay_t<decltype(fallback)>;
                if constexpr (!std::is_same_v<T, PropertyBag::Unreadable>) {
                    if (const std::optional<T> stored = PropBag.read(QString::fromLatin1(p->name), fallback))
                        p->set(*this, *stored);
                }
            },
            defaultValue);
    }
}

void ProgressBar::UserControl_WriteProperties(PropertyBag &PropBag) const
{
    for (const ProgressBarProperty *p : ProgressBarMembers::inOrder(&ProgressBarProperty::writeOrder))
        PropBag.write(QString::fromLatin1(p->name), p->get(*this), p->saved);
}

void ProgressBar::redraw()
{
    // A hidden widget gets its resize event only when shown; draw at its size now.
    if (m_surface.size() != size())
        m_surface.resize(size());
    if (const auto themed = ProgressBarPalette::forTheme(m_state.theme,
                                                         m_state.customColour1.resolved(),
                                                         m_state.customColour2.resolved()))
        m_palette = *themed;
    renderSurface();
    setMask(m_surface.windowRegion());
    update();
}

void ProgressBar::renderSurface()
{
    m_surface.setDevicePixelRatio(devicePixelRatioF());
    ProgressBarRenderer::paint(m_surface, m_state, m_state.enabled ? m_palette : m_palette.greyed());
    m_deviceImage = m_surface.devicePixelRatio() == 1.0 ? QImage() : m_surface.deviceImage();
}

void ProgressBar::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another scale: drawn afresh for it.
    if (m_surface.devicePixelRatio() != devicePixelRatioF())
        renderSurface();
    QPainter painter(this);
    if (m_deviceImage.isNull())
        painter.drawImage(0, 0, m_surface.image());
    else
        painter.drawImage(QRectF(rect()), m_deviceImage);
}

void ProgressBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    redraw();
}

} // namespace Lumisong
