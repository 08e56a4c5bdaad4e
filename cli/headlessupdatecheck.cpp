#include "cli/headlessupdatecheck.h"

#include "forms/formdesign.h"
#include "platform/jsontext.h"
#include "update/checkforupdate.h"
#include "update/remindersetting.h"
#include "update/updatenotice.h"
#include "update/updatepresenter.h"

namespace Lumisong {

namespace {

// Shows nothing: the texts come back in the notice.
class SilentPresenter final : public UpdatePresenter
{
public:
    void setStatus(const QString &) override {}
    void showUpdate(const UpdateNotice &) override {}
};

} // namespace

HeadlessUpdateCheck::Outcome HeadlessUpdateCheck::run(const QString &updateUrl,
                                                      const SettingsStore *settings)
{
    const QString current =
        versionText(LUMISONG_VERSION_MAJOR, LUMISONG_VERSION_MINOR, LUMISONG_VERSION_PATCH);
    const QString skipped = settings ? ReminderSetting::read(*settings) : QString();
    SilentPresenter presenter;
    UpdateNotice notice;
    const QString result = CheckForUpdate({updateUrl, current, skipped}, presenter, &notice);
    const bool arrived = result != UpdateCheckResult::Failed;
    return {arrived ? PageArrivedExitCode : PageMissingExitCode,
            toJson(result, current, skipped, notice)};
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
