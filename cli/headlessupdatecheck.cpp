#include "cli/headlessupdatecheck.h"

#include "forms/formdesign.h"
#include "platform/jsontext.h"
#include "net/pagerequest.h"
#include "update/checkforupdate.h"
#include "update/updatelog.h"
#include "update/updatenotice.h"

namespace Lumisong {

HeadlessUpdateCheck::HeadlessUpdateCheck(QString updateUrl, QString skippedVersion, std::FILE *out,
                                         std::FILE *err, QObject *parent)
    : HeadlessCommand(parent)
    , m_updateUrl(std::move(updateUrl))
    , m_skipped(std::move(skippedVersion))
    , m_out(out)
    , m_err(err)
{
}

HeadlessUpdateCheck::~HeadlessUpdateCheck() = default;

void HeadlessUpdateCheck::start()
{
    m_request = std::make_unique<PageRequest>(m_updateUrl, QStringLiteral("gb2312"));
    connect(m_request.get(), &PageRequest::finished, this, &HeadlessUpdateCheck::onPage);
    m_request->start();
}

void HeadlessUpdateCheck::onPage(const FetchResult &page)
{
    const QString current =
        versionText(LUMISONG_VERSION_MAJOR, LUMISONG_VERSION_MINOR, LUMISONG_VERSION_PATCH);
    // A failed fetch is a page that did not arrive, like an empty one; the
    // versions it announces count only when it arrived.
    const VersionPageReading reading = readFetchedVersionPage(page, {m_updateUrl, current, m_skipped});
    const bool arrived = reading.result != UpdateCheckResult::Failed;
    emit finished(print(m_out, toJson(reading.result, current, m_skipped, reading.notice), m_err,
                        arrived ? PageArrivedExitCode : PageMissingExitCode));
}

QByteArray HeadlessUpdateCheck::toJson(const QString &result, const QString &currentVersion,
                                       const QString &skippedVersion, const UpdateNotice &notice)
{
    QString out = QStringLiteral("{");
    JsonText::appendMember(out, u"result", result);
    out += u", ";
    JsonText::appendMember(out, u"currentVersion", currentVersion);
    out += u", ";
    JsonText::appendMember(out, u"skippedVersion", skippedVersion);
    out += u", ";
    JsonText::appendMember(out, u"newestVersion", notice.newestVersion);
    if (result == UpdateCheckResult::UpdateNeeded) {
        out += u", ";
        JsonText::appendMember(out, u"lblUpdate", notice.lblUpdate);
        out += u", ";
        JsonText::appendMember(out, u"lblTitle", designedDialogTitle() + notice.titleSuffix);
        out += u", ";
        JsonText::appendMember(out, u"txtNew", notice.txtNew);
    }
    out += u"}\n";
    return out.toUtf8();
}

QString HeadlessUpdateCheck::designedDialogTitle()
{
    QString error;
    const std::optional<FormDesign> form =
        FormDesign::fromFile(QStringLiteral(":/forms/frmupdate.json"), &error);
    const ControlDesign *title = form ? form->control(QStringLiteral("lblTitle")) : nullptr;
    return title ? title->properties.value(u"Caption").toString() : QString();
}

} // namespace Lumisong
