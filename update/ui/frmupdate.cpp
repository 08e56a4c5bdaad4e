#include "update/ui/frmupdate.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QUrl>

#include <cmath>

#include "controls/button/zephbutton.h"
#include "platform/ui/designedcontrol.h"
#include "platform/ui/imagebox.h"
#include "platform/ui/shellopener.h"
#include "platform/ui/titledrag.h"
#include "platform/ui/windowplacement.h"
#include "update/remindersetting.h"
#include "update/updatenotice.h"

namespace Lumisong {

namespace {

// Labels size themselves to their text.
void setCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

} // namespace

frmUpdate::frmUpdate(const Environment &environment, const FormBuilder &build, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_env(environment)
{
    QString error;
    // The form file is built into the program; a broken one is a build fault.
    if (!build(this, m_env.formFile, &error))
        qFatal("frmUpdate: %s", qUtf8Printable(error));

    m_skin = SkinFrame(designed<ImageBox>(QStringLiteral("imgTitle")),
                       designed<ImageBox>(QStringLiteral("imgBody")),
                       designed<ImageBox>(QStringLiteral("imgBottom")),
                       SkinFrame::Body::StopsAtBottomStrip);
    m_imgIcon = designed<ImageBox>(QStringLiteral("imgIcon"));
    m_lblTitle = designed<QLabel>(QStringLiteral("lblTitle"));
    m_lblUpdate = designed<QLabel>(QStringLiteral("lblUpdate"));
    m_txtNew = designed<QPlainTextEdit>(QStringLiteral("txtNew"));
    m_lblTip = designed<QLabel>(QStringLiteral("lblTip"));
    m_chkNoMore = designed<QCheckBox>(QStringLiteral("chkNoMore"));
    m_lblNoMore = designed<QLabel>(QStringLiteral("lblNoMore"));
    m_btnOk = designed<zephbutton>(QStringLiteral("btnOk"));
    m_btnCancel = designed<zephbutton>(QStringLiteral("btnCancel"));

    auto *drag = new TitleDrag(this, m_skin.imgTitle(), TitleDrag::platformMover());
    drag->addElement(m_lblTitle);
    // Every change of the box, by the user or by the label, arrives here.
    connect(m_chkNoMore, &QCheckBox::stateChanged, this, &frmUpdate::chkNoMore_Click);
    m_lblNoMore->installEventFilter(this);
    // The box has no caption of its own: the label beside it names it for
    // assistive technology (the box's name, the label's buddy).
    m_lblNoMore->setBuddy(m_chkNoMore);
    m_chkNoMore->setAccessibleName(m_lblNoMore->text());
    connect(m_btnOk, &zephbutton::Click, this, &frmUpdate::btnOk_Click);
    connect(m_btnCancel, &zephbutton::Click, this, &frmUpdate::btnCancel_Click);
    // The form file lists the controls in their tab order, so the focus
    // chain is already as designed.
    Form_Resize();
}

frmUpdate::~frmUpdate() = default;

template <typename T> T *frmUpdate::designed(const QString &name) const
{
    return designedControl<T>(this, name);
}

void frmUpdate::Form_Load(const QWidget *mainForm)
{
    if (!mainForm)
        return;
    // Centred over the main window, kept with its title strip on the screen.
    const QPoint centred(int(std::lround(mainForm->x() + (mainForm->width() - width()) / 2.0)),
                         int(std::lround(mainForm->y() + (mainForm->height() - height()) / 2.0)));
    const QScreen *screen = mainForm->screen();
    move(screen ? WindowPlacement::within(screen->availableGeometry(), size(), centred) : centred);
    for (const char *name : {"imgIcon", "imgTitle", "imgBody", "imgBottom"}) {
        const QString objectName = QString::fromLatin1(name);
        const auto *from = mainForm->findChild<ImageBox *>(objectName, Qt::FindDirectChildrenOnly);
        if (from)
            designed<ImageBox>(objectName)->setPicture(from->picture());
    }
    setWindowIcon(mainForm->windowIcon());
}

void frmUpdate::announce(const UpdateNotice &notice)
{
    m_newestVersion = notice.newestVersion;
    setCaption(m_lblUpdate, notice.lblUpdate);
    m_txtNew->setPlainText(notice.txtNew);
    m_txtNew->setAccessibleName(notice.txtNew); // read out when the notes get the focus
    setCaption(m_lblTitle, m_lblTitle->text() + notice.titleSuffix);
}

void frmUpdate::Form_Resize()
{
    m_skin.layOut(size());
}

void frmUpdate::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmUpdate::chkNoMore_Click()
{
    // "是(&Y)" never silences the version it opens.
    m_btnOk->setEnabled(m_chkNoMore->checkState() == Qt::Unchecked);
}

void frmUpdate::lblNoMore_Click()
{
    // The box's change reaches chkNoMore_Click, which sets "是(&Y)".
    const bool unticked = m_chkNoMore->checkState() == Qt::Unchecked;
    m_chkNoMore->setCheckState(unticked ? Qt::Checked : Qt::Unchecked);
}

bool frmUpdate::eventFilter(QObject *watched, QEvent *event)
{
    // A label is clicked by the left button released over it.
    if (watched == m_lblNoMore && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_lblNoMore->rect().contains(mouse->position().toPoint()))
            lblNoMore_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmUpdate::btnOk_Click()
{
    if (m_answered)
        return;
    m_answered = true;
    // Only web addresses reach the browser; the program ends whether or not one opened.
    if (m_env.shellOpener)
        m_env.shellOpener->open(QUrl(m_env.versionUrl));
    emit programEndWanted();
    done(Accepted);
}

void frmUpdate::btnCancel_Click()
{
    if (m_answered)
        return;
    m_answered = true;
    if (m_env.settings) {
        if (m_chkNoMore->checkState() != Qt::Unchecked)
            ReminderSetting::silence(*m_env.settings, m_newestVersion);
        else
            ReminderSetting::clear(*m_env.settings);
    }
    done(Rejected);
    emit catalogueWanted();
}

void frmUpdate::reject()
{
    btnCancel_Click();
}

} // namespace Lumisong
