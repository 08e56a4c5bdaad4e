#pragma once

#include <QWidget>

#include <type_traits>

#include "controls/progressbar/progressbarpalette.h"
#include "controls/progressbar/progressbarpropertylist.h"
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

    // How a setter takes a value of type T: small plain values by value,
    // others by reference.
    template <typename T>
    using ArgOf = std::conditional_t<std::is_trivially_copyable_v<T> && sizeof(T) <= 16, T, const T &>;
    // Each row of the property list: Q_PROPERTY(type Name READ getter WRITE
    // setName), the getter and the setter. Every setter stores the (possibly
    // corrected) value, announces the row's name and redraws.
#define LUMISONG_ACCESSORS(ApiType, field, getter, Name, ...) \
    Q_PROPERTY(ApiType Name READ getter WRITE set##Name) \
public: \
    ApiType getter() const { return m_state.field; } \
    void set##Name(ArgOf<ApiType> NewValue);
    LUMISONG_PROGRESSBAR_PROPERTIES(LUMISONG_ACCESSORS, LUMISONG_ACCESSORS)
#undef LUMISONG_ACCESSORS

public:
    explicit ProgressBar(QWidget *parent = nullptr);
    ~ProgressBar() override;

    // The setters that correct: the value is clamped into [minimum, maximum],
    // first to at most the maximum, then to at least the minimum; the maximum
    // is raised to 1, then above the minimum, and the minimum kept below the
    // maximum, then raised to 0, the value following either when now outside;
    // the text font also becomes the surface's font.

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
    ProgressBarPalette m_palette; // of the last valid palette number; drawn greyed when disabled
    Surface m_surface;
    // The surface at the screen's resolution when that is finer (null at ratio 1).
    QImage m_deviceImage;
};

} // namespace Lumisong
