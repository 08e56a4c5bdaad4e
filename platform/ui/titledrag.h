#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QMouseEvent;
class QWidget;

namespace Lumisong {

// The drag of a borderless window by its title elements (the title strip and
// the title label). One drag state per window, shared by its elements: a press
// with any mouse button on an element starts the drag, every move puts the
// window where the pointer keeps its offset within the pressed element, any
// release ends it. There is no threshold, and the window may go partly off
// screen; a move that would leave no grip of the title strip on any screen
// stops at the last position that leaves one. Where the desktop places windows
// itself (Wayland), a press hands the move over to the compositor instead.
class TitleDrag final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleDrag)

public:
    // How the window is moved: by the drag itself, or by asking the compositor
    // first (where the desktop places windows itself) and by the drag when it
    // declines.
    enum class Mover { Own, SystemFirst };
    // SystemFirst on Wayland, where a program cannot place its own windows.
    static Mover platformMover();

    // `window` is the top-level widget that moves; `titleStrip` is the element
    // that must stay reachable. The drag is a child of the window.
    TitleDrag(QWidget *window, QWidget *titleStrip, Mover mover);

    // Presses on `element` start the drag. The title strip is an element already.
    void addElement(QWidget *element);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // How much of the title strip stays on a screen, in pixels (or all of it
    // where the strip is smaller).
    static constexpr int MinimumGripWidth = 40;
    static constexpr int MinimumGripHeight = 10;

    void mouseDown(QWidget *element, const QMouseEvent *event);
    void mouseMove(const QMouseEvent *event);
    void mouseUp();
    QPoint reachable(const QPoint &proposed) const;

    QWidget *m_window;
    QWidget *m_titleStrip;
    QList<QPointer<QWidget>> m_elements;
    QPointer<QWidget> m_pressed;
    int m_dragActive = 0; // 1 while a button is held after a press on an element
    // The pointer at the press, in the pressed element's own pixels.
    double m_dragStartX = 0;
    double m_dragStartY = 0;
    bool m_useSystemMove;
};

} // namespace Lumisong
