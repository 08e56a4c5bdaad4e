#include "controls/button/tooltipwindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

#include "controls/button/colourmath.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

constexpr int IconSize = 16;
constexpr int IconGap = 4;
constexpr int TitleGap = 4;
constexpr int BalloonRadius = 6;
constexpr int StemWidth = 12;
constexpr int StemInset = 14;     // from the body's near edge to the stem
constexpr int PointerHeight = 20; // a rectangular tip sits below the pointer's image

QColor qcolour(Colour colour)
{
    return QColor(colour.red(), colour.green(), colour.blue());
}

int textFlags(bool rightToLeft)
{
    return Qt::TextWordWrap | Qt::TextExpandTabs | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft);
}

QFont titleFont()
{
    QFont font = QToolTip::font();
    font.setBold(true);
    return font;
}

} // namespace

ToolTipWindow::ToolTipWindow(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(QToolTip::font());
    relayout();
}

void ToolTipWindow::setContent(const ToolTipContent &content)
{
    m_content = content;
    setLayoutDirection(content.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    relayout();
    update();
}

QString ToolTipWindow::shownText() const
{
    QString text = m_content.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

void ToolTipWindow::relayout()
{
    const bool rtl = m_content.rightToLeft;
    const QFontMetrics metrics(font());
    const QString text = shownText();
    const QSize textSize =
        text.isEmpty()
            ? QSize()
            : metrics.boundingRect(QRect(0, 0, MaxTextWidth, 1 << 20), textFlags(rtl), text).size();

    QSize titleSize;
    // The icon belongs to the title row: no title, no icon.
    const bool hasIcon = m_content.icon >= ToolTipContent::Information &&
                         m_content.icon <= ToolTipContent::Error && !m_content.title.isEmpty();
    const int iconWidth = hasIcon ? IconSize + IconGap : 0;
    if (!m_content.title.isEmpty()) {
        const QFontMetrics bold(titleFont());
        titleSize = QSize(iconWidth + bold.horizontalAdvance(m_content.title),
                          std::max(iconWidth ? IconSize : 0, bold.height()));
    }
    const int gap = !titleSize.isEmpty() && !textSize.isEmpty() ? TitleGap : 0;
    const int contentWidth = std::max(textSize.width(), titleSize.width());
    const int contentHeight = titleSize.height() + gap + textSize.height();

    const int margin = m_content.balloon ? 8 : 3;
    const int stem = m_content.balloon ? StemHeight : 0;
    const int bodyTop = m_stemAbove ? stem : 0;
    m_body = QRect(0, bodyTop, contentWidth + 2 * margin, contentHeight + 2 * margin);

    const int left = m_body.left() + margin;
    const int right = left + contentWidth;
    const int top = m_body.top() + margin;
    m_icon = QRect();
    if (iconWidth)
        m_icon = QRect(rtl ? right - IconSize : left, top + (titleSize.height() - IconSize) / 2,
                       IconSize, IconSize);
    m_title = titleSize.isEmpty() ? QRect()
                                  : QRect(rtl ? left : left + iconWidth, top,
                                          contentWidth - iconWidth, titleSize.height());
    m_text = QRect(left, top + titleSize.height() + gap, contentWidth, textSize.height());

    m_stemX = rtl ? m_body.right() + 1 - StemInset : m_body.left() + StemInset;
    resize(m_body.width() + ShadowSize, m_body.height() + stem + ShadowSize);
    const QPainterPath shape = outline();
    setMask(QRegion(shape.toFillPolygon().toPolygon()) +
            QRegion(shape.translated(ShadowSize, ShadowSize).toFillPolygon().toPolygon()));
}

QPainterPath ToolTipWindow::outline() const
{
    QPainterPath path;
    const QRectF body = QRectF(m_body).adjusted(0.5, 0.5, -0.5, -0.5);
    if (!m_content.balloon) {
        path.addRect(body);
        return path;
    }
    path.addRoundedRect(body, BalloonRadius, BalloonRadius);
    // The stem leans towards the button's edge: its tip is straight above (or
    // below) its near side.
    const bool rtl = m_content.rightToLeft;
    const qreal tipX = m_stemX + 0.5;
    const qreal farX = rtl ? tipX - StemWidth : tipX + StemWidth;
    QPolygonF stem;
    if (m_stemAbove)
        stem << QPointF(tipX, 0.5) << QPointF(tipX, body.top() + 1)
             << QPointF(farX, body.top() + 1);
    else
        stem << QPointF(tipX, height() - ShadowSize - 0.5) << QPointF(tipX, body.bottom() - 1)
             << QPointF(farX, body.bottom() - 1);
    QPainterPath stemPath;
    stemPath.addPolygon(stem);
    stemPath.closeSubpath();
    return path.united(stemPath).simplified();
}

void ToolTipWindow::showAt(QPoint pointer)
{
    m_stemAbove = true;
    relayout();
    const QScreen *screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(pointer, size());
    const bool rtl = m_content.rightToLeft;

    QPoint at;
    if (m_content.balloon) {
        at = QPoint(pointer.x() - m_stemX, pointer.y());
        if (at.y() + height() > available.bottom() + 1) {
            m_stemAbove = false;
            relayout();
            at = QPoint(pointer.x() - m_stemX, pointer.y() - (height() - ShadowSize));
        }
    } else {
        at = QPoint(rtl ? pointer.x() - width() : pointer.x(), pointer.y() + PointerHeight);
        if (at.y() + height() > available.bottom() + 1)
            at.setY(pointer.y() - height());
    }
    at.setX(std::clamp(at.x(), available.left(),
                       std::max(available.left(), available.right() + 1 - width())));
    move(at);
    show();
    raise();
}

void ToolTipWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing, m_content.balloon);

    const QPainterPath shape = outline();
    painter.fillPath(shape.translated(ShadowSize, ShadowSize), QColor(0, 0, 0, 72));
    const Colour back = m_content.back.value_or(SystemRgb(SystemColours::InfoBackground));
    const QColor ink = qcolour(SystemRgb(SystemColours::InfoText));
    painter.fillPath(shape, qcolour(back));
    painter.setPen(QPen(ink, 1));
    painter.drawPath(shape);

    if (!m_icon.isEmpty()) {
        static constexpr QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxInformation,
                                                           QStyle::SP_MessageBoxWarning,
                                                           QStyle::SP_MessageBoxCritical};
        style()->standardIcon(icons[m_content.icon - 1]).paint(&painter, m_icon);
    }
    const int flags = textFlags(m_content.rightToLeft);
    if (!m_title.isEmpty()) {
        painter.setFont(titleFont());
        painter.drawText(m_title, (flags & ~Qt::TextWordWrap) | Qt::AlignVCenter, m_content.title);
        painter.setFont(font());
    }
    painter.drawText(m_text, flags, shownText());
}

} // namespace Lumisong
