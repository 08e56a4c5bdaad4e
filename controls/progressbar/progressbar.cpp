#include "controls/progressbar/progressbar.h"

#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>

#include "controls/progressbar/progressbaraccessible.h"
#include "controls/progressbar/progressbarrenderer.h"
#include "platform/pixelrect.h"
#include "platform/propertybag.h"

namespace Lumisong {

namespace {

// Saved defaults where they differ from the creation values.
constexpr int SavedTextStyle = 1;
constexpr int SavedTextEffect = 1;
constexpr Colour SavedTextEffectColor = Colour::rgb(200, 200, 200);

} // namespace

ProgressBar::ProgressBar(QWidget *parent) : QWidget(parent)
{
    // The surface covers every pixel inside the mask, so what lies beneath
    // (the song list, on the main window) is not repainted at every redraw.
    setAttribute(Qt::WA_OpaquePaintEvent);
    ProgressBarAccessible::install();
    m_surface.setFont(m_state.textFont.toQFont());
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::changed(const char *name)
{
    emit propertyChanged(QString::fromLatin1(name));
    redraw();
}

template <typename T>
void ProgressBar::assign(T ProgressBarState::*field, const T &NewValue, const char *name)
{
    m_state.*field = NewValue;
    changed(name);
}

void ProgressBar::setValue(int NewValue)
{
    if (NewValue > m_state.max)
        NewValue = m_state.max;
    if (NewValue < m_state.min)
        NewValue = m_state.min;
    m_state.value = NewValue;
    changed("Value");
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
    changed("Max");
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
    changed("Min");
}

void ProgressBar::setRoundedValue(int NewValue)
{
    assign(&ProgressBarState::roundedValue, NewValue, "RoundedValue");
}

void ProgressBar::setEnabled(bool NewValue)
{
    assign(&ProgressBarState::enabled, NewValue, "Enabled");
}

void ProgressBar::setTheme(int NewValue)
{
    assign(&ProgressBarState::theme, NewValue, "Theme");
}

void ProgressBar::setTextStyle(int NewValue)
{
    assign(&ProgressBarState::textStyle, NewValue, "TextStyle");
}

void ProgressBar::setOrientations(int NewValue)
{
    assign(&ProgressBarState::orientations, NewValue, "Orientations");
}

void ProgressBar::setTextAlignment(int NewValue)
{
    assign(&ProgressBarState::textAlignment, NewValue, "TextAlignment");
}

void ProgressBar::setText(const QString &NewValue)
{
    assign(&ProgressBarState::text, NewValue, "Text");
}

void ProgressBar::setTextEffectColor(Colour NewValue)
{
    assign(&ProgressBarState::textEffectColor, NewValue, "TextEffectColor");
}

void ProgressBar::setTextEffect(int NewValue)
{
    assign(&ProgressBarState::textEffect, NewValue, "TextEffect");
}

void ProgressBar::setTextForeColor(Colour NewValue)
{
    assign(&ProgressBarState::textForeColor, NewValue, "TextForeColor");
}

void ProgressBar::setTextFont(const FontDescription &NewValue)
{
    m_state.textFont = NewValue;
    m_surface.setFont(NewValue.toQFont());
    changed("TextFont");
}

void ProgressBar::setPBSCustomeColor1(Colour NewValue)
{
    assign(&ProgressBarState::customColour1, NewValue, "PBSCustomeColor1");
}

void ProgressBar::setPBSCustomeColor2(Colour NewValue)
{
    assign(&ProgressBarState::customColour2, NewValue, "PBSCustomeColor2");
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
    setMax(100);
    setMin(0);
    setValue(50);
    setRoundedValue(5);
    setEnabled(true);
    setTheme(1);
    setTextForeColor(Colour::rgb(0, 0, 0));
    setText(QStringLiteral("Tarn ProgressBar"));
    setTextAlignment(5);
    setTextEffect(5);
    setTextEffectColor(Colour::rgb(255, 255, 255));
    setTextStyle(3);
    setOrientations(1);
    setTextFont(FontDescription::ambient());
}

void ProgressBar::UserControl_ReadProperties(const PropertyBag &PropBag)
{
    // An entry that cannot be read leaves its property as it was; reading goes on.
    auto read = [&PropBag](const char *name, const auto &defaultValue, auto assign) {
        if (const auto stored = PropBag.read(QString::fromLatin1(name), defaultValue))
            assign(*stored);
    };
    read("Max", qint32(100), [this](int v) { setMax(v); });
    read("Min", qint32(0), [this](int v) { setMin(v); });
    read("Value", qint32(50), [this](int v) { setValue(v); });
    read("RoundedValue", qint32(5), [this](int v) { setRoundedValue(v); });
    read("Enabled", true, [this](bool v) { setEnabled(v); });
    read("Theme", qint32(1), [this](int v) { setTheme(v); });
    read("TextStyle", qint32(SavedTextStyle), [this](int v) { setTextStyle(v); });
    read("Orientations", qint32(1), [this](int v) { setOrientations(v); });
    read("Text", objectName(), [this](const QString &v) { setText(v); });
    read("TextEffectColor", SavedTextEffectColor, [this](Colour v) { setTextEffectColor(v); });
    read("TextEffect", qint32(SavedTextEffect), [this](int v) { setTextEffect(v); });
    read("TextAlignment", qint32(5), [this](int v) { setTextAlignment(v); });
    read("TextFont", FontDescription::ambient(), [this](const FontDescription &v) { setTextFont(v); });
    read("TextForeColor", Colour(), [this](Colour v) { setTextForeColor(v); });
    read("PBSCustomeColor2", Colour(), [this](Colour v) { setPBSCustomeColor2(v); });
    read("PBSCustomeColor1", Colour(), [this](Colour v) { setPBSCustomeColor1(v); });
}

void ProgressBar::UserControl_WriteProperties(PropertyBag &PropBag) const
{
    auto write = [&PropBag](const char *name, const PropertyBag::Value &value,
                            const PropertyBag::Value &defaultValue) {
        PropBag.write(QString::fromLatin1(name), value, defaultValue);
    };
    write("Orientations", m_state.orientations, 1);
    write("Max", m_state.max, 100);
    write("Min", m_state.min, 0);
    write("Value", m_state.value, 50);
    write("RoundedValue", m_state.roundedValue, 5);
    write("Enabled", m_state.enabled, true);
    write("Theme", m_state.theme, 1);
    write("TextStyle", m_state.textStyle, SavedTextStyle);
    write("TextFont", m_state.textFont, FontDescription::ambient());
    write("TextForeColor", m_state.textForeColor, Colour());
    write("TextAlignment", m_state.textAlignment, 5);
    // Saved against the empty text but read back against the control's name: an
    // empty Text comes back as the name, and a Text equal to the name is saved.
    write("Text", m_state.text, QString());
    write("TextEffectColor", m_state.textEffectColor, SavedTextEffectColor);
    write("TextEffect", m_state.textEffect, SavedTextEffect);
    write("PBSCustomeColor2", m_state.customColour2, Colour());
    write("PBSCustomeColor1", m_state.customColour1, Colour());
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
