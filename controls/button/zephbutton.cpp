#include "controls/button/zephbutton.h"

#include <QAction>
#include <QKeySequence>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QUrl>

#include <algorithm>
#include <cmath>

#include "controls/button/buttonaccessible.h"
#include "controls/button/buttonenums.h"
#include "controls/button/buttontooltip.h"
#include "controls/button/colourmath.h"
#include "controls/button/menupopuppresenter.h"
#include "controls/button/tooltipwindow.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "platform/ui/desktopshellopener.h"
#include "platform/ui/keyboardcues.h"

Q_LOGGING_CATEGORY(lcButton, "lumisong.button")

namespace Lumisong {

namespace {

// The smallest side of a button, in twips.
constexpr int MinimumTwips = 220;

} // namespace

zephbutton::zephbutton(QWidget *parent)
    : QWidget(parent)
    , m_input(*this, m_p, m_runtime)
{
    ButtonAccessible::install();
    // A mouse click anywhere in the window hides the focus cue again.
    connect(&KeyboardCues::instance(), &KeyboardCues::changed, this, [this](QWidget *changed) {
        if (changed == window())
            redraw();
    });
    m_runtime.userMode = m_ambient.userMode;
    m_runtime.isDefault = m_ambient.displayAsDefault;
    // Moves arrive without a held mouse button too: they drive the hot look.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    bindFont(std::make_shared<ButtonFont>(m_ambient.font));
    applyWindowFont();
}

zephbutton::~zephbutton()
{
    // Release the font object (others may still hold it), the menu and the
    // watch on the form; the tooltip window ends with the button.
    disconnect(m_fontConnection);
    m_font.reset();
    UnsetPopupMenu();
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
}

void zephbutton::bindFont(std::shared_ptr<ButtonFont> font)
{
    disconnect(m_fontConnection);
    m_font = std::move(font);
    m_fontConnection = connect(m_font.get(), &ButtonFont::changed, this, &zephbutton::fontChanged);
}

void zephbutton::setAmbient(const Ambient &ambient)
{
    const bool defaultChanged = ambient.displayAsDefault != m_ambient.displayAsDefault;
    m_ambient = ambient;
    m_runtime.userMode = ambient.userMode;
    m_runtime.isDefault = ambient.displayAsDefault;
    ++m_lookGeneration;
    if (defaultChanged)
        Redraw();
}

// --- lifecycle ---------------------------------------------------------------

void zephbutton::InitProperties()
{
    for (const ButtonPropertySpec *spec : ButtonMembers::inOrder(&ButtonPropertySpec::placeOrder)) {
        switch (spec->id) {
        case ButtonProperty::Caption:
            m_p.caption = m_ambient.displayName;
            SetAccessKeys();
            break;
        case ButtonProperty::Font: {
            FontDescription font = m_ambient.font;
            font.face = QStringLiteral("Tahoma");
            bindFont(std::make_shared<ButtonFont>(font));
            fontChanged();
            break;
        }
        default:
            m_model.place(*spec);
            if (spec->id == ButtonProperty::Enabled)
                QWidget::setEnabled(m_p.enabled);
            break;
        }
    }
    m_model.applyStyleLook();
    m_model.applyRules(m_runtime);
    Redraw();
}

QStringList zephbutton::ReadProperties(const PropertyBag &bag)
{
    QStringList failed;
    // Each entry goes straight into its field; a value of the wrong type
    // leaves the field as it is.
    for (const ButtonPropertySpec *spec : ButtonMembers::inOrder(&ButtonPropertySpec::loadOrder)) {
        const bool read = spec->id == ButtonProperty::Font ? readFont(bag, *spec)
                                                           : m_model.load(*spec, bag, m_ambient.font);
        if (!read)
            failed << spec->savedKey();
        loaded(spec->id);
    }
    for (const QString &name : std::as_const(failed))
        qCWarning(lcButton, "saved property %s of %s cannot be read; it keeps its value",
                  qPrintable(name), qPrintable(objectName()));

    QWidget::setEnabled(m_p.enabled);
    SetAccessKeys();
    applyCursor();
    m_model.applyRules(m_runtime);
    ++m_lookGeneration;
    resizeStep();
    if (m_ambient.userMode)
        setUpRunMode();
    return failed;
}

bool zephbutton::readFont(const PropertyBag &bag, const ButtonPropertySpec &spec)
{
    const std::optional<FontDescription> font =
        bag.read(spec.savedKey(), std::get<FontDescription>(ButtonModel::savedDefault(spec, m_ambient.font)));
    if (font && !(*font == fontDescription()))
        bindFont(std::make_shared<ButtonFont>(*font));
    applyWindowFont();
    return font.has_value();
}

// What the control window takes over from a loaded value at once.
void zephbutton::loaded(ButtonProperty property)
{
    if (property == ButtonProperty::ForeColorHover) {
        QPalette palette = this->palette();
        const Colour fore = TranslateColor(m_p.foreColor);
        palette.setColor(QPalette::WindowText, QColor(fore.red(), fore.green(), fore.blue()));
        setPalette(palette);
    } else if (property == ButtonProperty::RightToLeft) {
        m_tooltipRightToLeft = m_p.rightToLeft;
    }
}

void zephbutton::WriteProperties(PropertyBag &bag) const
{
    const FontDescription font = fontDescription();
    for (const ButtonPropertySpec *spec : ButtonMembers::inOrder(&ButtonPropertySpec::saveOrder))
        m_model.save(*spec, bag, font, m_ambient.font);
}

// --- methods -----------------------------------------------------------------

void zephbutton::SetPopupMenu(QObject *menu, int align, int flags, QAction *defaultMenu)
{
    QMenu *popup = qobject_cast<QMenu *>(menu);
    if (!popup)
        return;
    disconnect(m_menuGone);
    m_menu = popup;
    m_menuDefault = defaultMenu;
    DropDownState &dropDown = m_input.dropDown();
    dropDown.align = align;
    dropDown.flags = flags;
    dropDown.menuSet = true;
    // A menu that ends while attached leaves a button without a menu, not one
    // that no longer reacts to the mouse.
    m_menuGone = connect(popup, &QObject::destroyed, this, &zephbutton::UnsetPopupMenu);
}

void zephbutton::UnsetPopupMenu()
{
    disconnect(m_menuGone);
    m_menu = nullptr;
    m_menuDefault = nullptr;
    DropDownState &dropDown = m_input.dropDown();
    dropDown.menuSet = false;
    dropDown.menuLatch = false;
}

void zephbutton::setPopupPresenter(PopupPresenter *presenter)
{
    m_popupPresenter = presenter;
}

void zephbutton::setShellOpener(ShellOpener *opener)
{
    m_opener = opener;
}

bool zephbutton::OpenWebsite(const QString &address)
{
    if (!m_opener) {
        m_ownOpener = std::make_unique<DesktopShellOpener>();
        m_opener = m_ownOpener.get();
    }
    return m_opener->open(QUrl(address, QUrl::TolerantMode));
}

void zephbutton::About()
{
    const QString text = QStringLiteral("zephbutton " LUMISONG_VERSION_TEXT "\n\n"
                                        "The skinned push button of Lumisong: fourteen styles, "
                                        "pictures with effects, caption effects and a drop-down menu.\n\n"
                                        "Written for Lumisong by the Tolvane team.");
    QMessageBox::information(this, QStringLiteral("About"), text);
}

void zephbutton::Redraw()
{
    m_runtime.focusCues = KeyboardCues::shown(this);
    const QSize size = this->size();
    if (m_surface.size() != size) {
        m_surface.resize(size);
        applyStyleShape();
    }
    m_surface.setFont(m_font ? m_font->description().toQFont() : QFont());
    m_surface.setDevicePixelRatio(devicePixelRatioF());
    if (!m_surface.isEmpty())
        m_model.settleCheckedLook(m_runtime);
    const ButtonPainter::Painted painted = ButtonPainter(m_surface, m_layout).Redraw(m_p, m_runtime);
    m_layout = painted.layout;
    if (painted.shape)
        m_surface.setWindowRegion(*painted.shape);
    m_deviceImage = m_surface.devicePixelRatio() == 1.0 ? QImage() : m_surface.deviceImage();
    m_paintedGeneration = m_lookGeneration;
    m_paintedRuntime = m_runtime;
    showSurface();
}

void zephbutton::applyStyleShape()
{
    m_surface.setWindowRegion(
        ButtonPainter::windowRegionFor(m_model.style(), m_surface.width(), m_surface.height()));
}

void zephbutton::setRuntime(const ButtonRuntime &runtime)
{
    m_runtime = runtime;
    m_model.applyRules(m_runtime);
}

// Input redraws often repaint what is already there (a checked toggle on
// every move): with no property written and the same run-time look since the
// last full redraw, only the redraw's stored state change is made.
void zephbutton::redraw()
{
    m_runtime.focusCues = KeyboardCues::shown(this);
    m_model.settleCheckedLook(m_runtime);
    m_model.applyRules(m_runtime);
    if (m_paintedGeneration == m_lookGeneration && m_paintedRuntime == m_runtime
        && m_surface.size() == size() && m_surface.devicePixelRatio() == devicePixelRatioF())
        return;
    Redraw();
}

// --- run mode: the message sink ------------------------------------------------------

void zephbutton::setUpRunMode()
{
    m_runMode = true;
    // Colour changes are routed only when themes were on at this moment.
    m_routeSysColour = m_runtime.themed;
    watchWindow();
}

void zephbutton::watchWindow()
{
    QWidget *form = window();
    if (form == m_watchedWindow)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = form;
    form->installEventFilter(this);
}

void zephbutton::sendMessage(quint32 message, quintptr wParam)
{
    bool handled = false;
    qintptr result = 0;
    Subclass_WndProc(false, handled, result, qulonglong(quintptr(this)), message, wParam, 0);
}

void zephbutton::Subclass_WndProc(bool, bool &, qintptr &, qulonglong, quint32 uMsg, quintptr wParam,
                                  qintptr)
{
    switch (uMsg) {
    case MessageActivate:
    case MessageNcActivate:
        if (wParam != 0)
            m_input.formActivated();
        else
            m_input.formDeactivated();
        break;
    case MessageSysColourChange:
    case MessageThemeChanged:
        m_model.applyRules(m_runtime);
        ++m_lookGeneration;
        Redraw();
        break;
    case MessageMouseLeave:
        m_input.mouseLeave();
        break;
    default:
        break;
    }
}

void zephbutton::showSurface()
{
    if (m_surface.isEmpty())
        clearMask();
    else if (m_surface.hasWindowRegion())
        setMask(m_surface.windowRegion());
    else
        clearMask();
    update();
}

// --- access key, resize, painting ---------------------------------------------

QChar zephbutton::accessKeyFor(const QString &caption)
{
    const qsizetype length = caption.size();
    if (length <= 1)
        return {};
    const qsizetype a = caption.indexOf(u'&');
    if (a < 0 || a >= length - 1)
        return {};
    if (caption.at(a + 1) != u'&')
        return caption.at(a + 1).toLower();
    const qsizetype c = caption.indexOf(u'&', a + 2);
    if (c < 0 || c >= length - 1 || caption.at(c + 1) == u'&')
        return {};
    return caption.at(c + 1).toLower();
}

void zephbutton::SetAccessKeys()
{
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    m_accessKey = accessKeyFor(m_p.caption);
    // The access key works with Alt, as the platform's do.
    if (!m_accessKey.isNull())
        m_shortcutId = grabShortcut(QKeySequence::mnemonic(QStringLiteral("&") + m_accessKey));
}

void zephbutton::resizeStep()
{
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const int minimum = int(std::lround(MinimumTwips * dpi / 1440.0));
    // A hidden button gets no resize event; Redraw() below makes its surface follow.
    if (height() < minimum || width() < minimum)
        resize(std::max(width(), minimum), std::max(height(), minimum));
    applyStyleShape();
    Redraw();
}

void zephbutton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_surface.size() != size())
        m_surface.resize(size());
    resizeStep();
}

void zephbutton::paintEvent(QPaintEvent *event)
{
    if (m_surface.isEmpty())
        return;
    // Moved to a screen of another scale: drawn afresh for it.
    if (m_surface.devicePixelRatio() != devicePixelRatioF())
        Redraw();
    QPainter painter(this);
    if (m_deviceImage.isNull())
        painter.drawImage(event->rect(), m_surface.image(), event->rect());
    else
        painter.drawImage(QRectF(rect()), m_deviceImage);
}

} // namespace Lumisong
