#pragma once

#include <QWidget>

#include "controls/progressbar/progressbarpalette.h"
#include "controls/progressbar/progressbarstate.h"
#include "platform/colour.h"
#include "platform/fontdescription.h"
#include "platform/surface.h"

namespace Lumisong {

enum class ProgressBarPropertyId;

class PropertyBag;

// A rounded progress bar with two-tone gradients, ten colour themes and a
// caption in one of nine positions with one of five effects.
//
// The host first calls UserControl_InitProperties (a control placed for the
// first time) or UserControl_ReadProperties (a saved control); until then every
// property is 0 or empty. Every write accessor stores the (possibly corrected)
// value, emits propertyChanged with the property's name and redraws the whole
// control onto its surface, which paintEvent shows; the window shape follows
// RoundedValue through setMask. Nothing is drawn lazily.
//
// `Enabled` is the bar's own drawing state (grey when false): it hides
// QWidget::setEnabled and does not change how the widget takes input.
class ProgressBar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressBar)
    Q_PROPERTY(int Value READ value WRITE setValue)
    Q_PROPERTY(int Max READ max WRITE setMax)
    Q_PROPERTY(int Min READ min WRITE setMin)
    Q_PROPERTY(int RoundedValue READ roundedValue WRITE setRoundedValue)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
    Q_PROPERTY(int Theme READ theme WRITE setTheme)
    Q_PROPERTY(int TextStyle READ textStyle WRITE setTextStyle)
    Q_PROPERTY(int Orientations READ orientations WRITE setOrientations)
    Q_PROPERTY(int TextAlignment READ textAlignment WRITE setTextAlignment)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(Lumisong::Colour TextEffectColor READ textEffectColor WRITE setTextEffectColor)
    Q_PROPERTY(int TextEffect READ textEffect WRITE setTextEffect)
    Q_PROPERTY(Lumisong::Colour TextForeColor READ textForeColor WRITE setTextForeColor)
    Q_PROPERTY(Lumisong::FontDescription TextFont READ textFont WRITE setTextFont)
    Q_PROPERTY(Lumisong::Colour PBSCustomeColor1 READ pbsCustomeColor1 WRITE setPBSCustomeColor1)
    Q_PROPERTY(Lumisong::Colour PBSCustomeColor2 READ pbsCustomeColor2 WRITE setPBSCustomeColor2)

public:
    explicit ProgressBar(QWidget *parent = nullptr);
    ~ProgressBar() override;

    // Clamped into [Min, Max]: first to at most Max, then to at least Min.
    int value() const { return m_state.value; }
    void setValue(int NewValue);
    // Raised to 1, then above Min; Value follows when it is now above Max.
    int max() const { return m_state.max; }
    void setMax(int NewValue);
    // Kept below Max, then raised to 0; Value follows when it is now below Min.
    int min() const { return m_state.min; }
    void setMin(int NewValue);
    int roundedValue() const { return m_state.roundedValue; }
    void setRoundedValue(int NewValue);
    bool enabled() const { return m_state.enabled; }
    void setEnabled(bool NewValue);
    int theme() const { return m_state.theme; }
    void setTheme(int NewValue);
    int textStyle() const { return m_state.textStyle; }
    void setTextStyle(int NewValue);
    int orientations() const { return m_state.orientations; }
    void setOrientations(int NewValue);
    int textAlignment() const { return m_state.textAlignment; }
    void setTextAlignment(int NewValue);
    QString text() const { return m_state.text; }
    void setText(const QString &NewValue);
    Colour textEffectColor() const { return m_state.textEffectColor; }
    void setTextEffectColor(Colour NewValue);
    int textEffect() const { return m_state.textEffect; }
    void setTextEffect(int NewValue);
    Colour textForeColor() const { return m_state.textForeColor; }
    void setTextForeColor(Colour NewValue);
    FontDescription textFont() const { return m_state.textFont; }
    void setTextFont(const FontDescription &NewValue);
    Colour pbsCustomeColor1() const { return m_state.customColour1; }
    void setPBSCustomeColor1(Colour NewValue);
    Colour pbsCustomeColor2() const { return m_state.customColour2; }
    void setPBSCustomeColor2(Colour NewValue);

    // Fills (Left, Top)-(Width, Height) of hDC with a two-colour gradient: the last
    // two arguments are the right and bottom edges (exclusive), not sizes.
    // Direction 1 runs top to bottom, 0 left to right.
    void GradientTwoColour(Surface &hDC, int Direction, Colour StartColor, Colour EndColor,
                           int Left, int Top, int Width, int Height);
    // Paints a Width x Height block at (Left, Top) of ObjectHDC interpolated
    // between the four corner colours, row by row.
    void DrawGradientFourColour(Surface &ObjectHDC, int Left, int Top, int Width, int Height,
                                Colour TopLeftColour, Colour TopRightColour,
                                Colour BottomLeftColour, Colour BottomRightColour);
    // Shows the control's credits in an information box titled "About".
    void About();
    static QString aboutText();

    // Host lifecycle: creation values, saved values read in their designed order
    // (which decides the clamping), and saved values written against their defaults.
    void UserControl_InitProperties();
    void UserControl_ReadProperties(const PropertyBag &PropBag);
    void UserControl_WriteProperties(PropertyBag &PropBag) const;

    // The properties as plain values.
    const ProgressBarState &state() const { return m_state; }
    // The persistent image the control draws on, and its palette of the last redraw.
    const Surface &surface() const { return m_surface; }
    Surface &surface() { return m_surface; }
    const ProgressBarPalette &palette() const { return m_palette; }

signals:
    // The host's change notification: a property was assigned.
    void propertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Notifies the host of `name` and redraws.
    void changed(ProgressBarPropertyId id);
    // Stores a value that needs no correction, then notifies and redraws.
    template <typename T>
    void assign(T ProgressBarState::*field, const T &NewValue, ProgressBarPropertyId id);
    void redraw();
    // Paints the surface at the screen's device pixel ratio.
    void renderSurface();

    ProgressBarState m_state;
    ProgressBarPalette m_palette; // of the last valid theme; drawn greyed when disabled
    Surface m_surface;
    // The surface at the screen's resolution when that is finer (null at ratio 1).
    QImage m_deviceImage;
};

} // namespace Lumisong
