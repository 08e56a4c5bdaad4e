#include "app/frmmain.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

#include "app/defaults.h"
#include "app/formdesign.h"
#include "app/formloader.h"
#include "app/listitemsmodel.h"
#include "app/listview.h"
#include "app/statustexts.h"
#include "catalogue/catalogue.h"
#include "net/fetchlimits.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/ui/messagebox.h"
#include "update/checkforupdate.h"

namespace Lumisong {

frmMain::frmMain(const Environment &environment, QWidget *parent)
    : QWidget(parent), m_env(environment),
      m_catalogue(std::make_unique<Catalogue>(environment.siteBase))
{
    QString error;
    const std::optional<FormDesign> design = FormDesign::fromFile(m_env.formFile, &error);
    // The form file is built into the program; a broken one is a build fault.
    if (!design || !FormLoader().build(this, *design, &error))
        qFatal("frmMain: %s", qUtf8Printable(error));

    m_lstXg = designed<ListView>(QStringLiteral("lstXg"));
    m_lblInfo = designed<QLabel>(QStringLiteral("lblInfo"));
    m_timer1 = designed<QTimer>(QStringLiteral("Timer1"));
    m_timer2 = designed<QTimer>(QStringLiteral("Timer2"));
    connect(m_timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(m_timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
}

frmMain::~frmMain() = default;

template<typename T> T *frmMain::designed(const QString &name) const
{
    T *control = findChild<T *>(name, Qt::FindDirectChildrenOnly);
    if (!control)
        qFatal("frmMain: the form file lacks %s", qUtf8Printable(name));
    return control;
}

bool frmMain::Form_Load()
{
    if (m_env.instance && !m_env.instance->tryLock()) {
        m_env.messageBox->show(this, QStringLiteral("程序已经在运行中，请勿重复运行！"),
                               Defaults::ProgramTitle.toString(), MessageBox::Icon::Information,
                               MessageBox::Buttons::Ok);
        m_unloaded = true;
        return false;
    }
    m_currentVersion = QString::number(LUMISONG_VERSION_MAJOR) + u'.'
                       + QString::number(LUMISONG_VERSION_MINOR) + u'.'
                       + QString::number(LUMISONG_VERSION_PATCH);
    if (m_env.settings)
        m_skippedVersion = m_env.settings->value(Defaults::SettingsSection.toString(),
                                                 Defaults::VersionNoTipKey.toString());
    setInfo(StatusText::checkingForUpdate());
    m_timer1->start();
    return true;
}

void frmMain::Timer1_Timer()
{
    m_timer1->stop();
    const QString result =
        CheckForUpdate({m_env.updateUrl, m_currentVersion, m_skippedVersion});
    // The check may wait for a page; the window may have closed meanwhile.
    if (m_unloaded)
        return;
    if (result != UpdateCheckResult::UpdateNeeded) {
        setInfo(StatusText::fetchingCatalogue());
        m_timer2->start();
    }
}

void frmMain::Timer2_Timer()
{
    m_timer2->stop();
    const Catalogue::LoadResult result = m_catalogue->loadCatalogue();
    if (m_unloaded)
        return;
    if (!result.arrived) {
        setInfo(StatusText::catalogueMissing());
        return;
    }
    showCatalogueRows();
    setInfo(StatusText::catalogueLoaded(result.count, result.truncated));
}

void frmMain::showCatalogueRows()
{
    const int count = m_catalogue->songCount();
    QList<QStringList> rows;
    rows.reserve(count);
    for (int slot = 0; slot < count; ++slot) {
        const SongRecord &s = m_catalogue->song(slot);
        rows.append({QString::number(slot + 1), s.releaseDate, s.title, s.singer, s.album,
                     s.dailyDownloads, s.totalDownloads});
    }
    m_lstXg->items()->appendRows(std::move(rows));
}

void frmMain::setInfo(const QString &text)
{
    m_lblInfo->setText(text);
    m_lblInfo->adjustSize();
    emit infoChanged(text);
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_timer1->stop();
    m_timer2->stop();
    // A handler waiting for a page returns at once and sees m_unloaded.
    abortAllFetches();
    emit unloaded();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

} // namespace Lumisong
