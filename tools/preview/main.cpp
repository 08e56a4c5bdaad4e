// lumisong-preview --control NAME --size WxH [--bag FILE] [--set Name=Value]... --out FILE.png
//                  [--state normal|hot|down] [--focus] [--default] [--active] [--over] [--no-theme]
// lumisong-preview --control Lumisong.zephbutton --size WxH [--bag FILE] [--set Name=Value]...
//                  [--no-theme] --replay FILE [--out FILE.png]
// lumisong-preview --describe NAME
// lumisong-preview --form frmMain|frmUpdate [--size WxH] --out FILE.png
// Every rendering also takes --scale F: the screen's device pixel ratio (1 to 4,
// e.g. 1.25, 1.5, 2); the PNG then has ceil(W x F) x ceil(H x F) pixels.
//
// Creates the control as a form does when it is first placed, reads the saved
// properties of --bag (a property bag in its JSON form), assigns each --set in
// the order given, and writes the control's pixels as a W x H RGBA PNG with
// alpha 0 outside its window shape. Exit status 0 on success, 2 for an unknown
// control or property, a malformed value or bad arguments, 1 when the PNG
// cannot be written. No display is needed. The skinned button also takes the
// state handed to its painter, its focus and default flags, whether its form
// is active and the pointer over it, and --no-theme (style 13 then falls back
// to style 2). --describe lists a control's members with their types,
// defaults and help texts, one per line, tab separated. --replay plays a script
// of input notifications (FILE, or - for standard input) against the button,
// created as on a running form, and prints what happens (buttonreplay.h); a
// malformed line exits with 2. --form draws a whole form as laid out, with its
// design-time texts, at its designed client size or at --size.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

#include "controls/button/zephbutton.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "tools/preview/buttonreplay.h"
#include "tools/preview/formpreview.h"
#include "tools/preview/previewregistry.h"
#include "tools/preview/replayscript.h"

using namespace Lumisong;

namespace {

constexpr int UsageError = 2;
constexpr int OutputError = 1;
constexpr int MaxSide = 16384;

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "lumisong-preview: %s\n", qPrintable(message));
    return status;
}

std::optional<QSize> parseSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.width() < 1 || size.height() < 1 || size.width() > MaxSide || size.height() > MaxSide)
        return std::nullopt;
    return size;
}

int failSize(const QString &text)
{
    return fail(UsageError,
                QStringLiteral("malformed size \"%1\": expected WxH, 1 to %2 pixels each")
                    .arg(text)
                    .arg(MaxSide));
}

std::optional<PropertyBag> readBag(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the bag %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        *error = QStringLiteral("the bag %1 is not a JSON object: %2")
                     .arg(path, parseError.error != QJsonParseError::NoError
                                    ? parseError.errorString()
                                    : QStringLiteral("wrong top-level value"));
        return std::nullopt;
    }
    return PropertyBag::fromJson(document.object(), QFileInfo(path).absolutePath());
}

int renderForm(const QString &name, std::optional<QSize> size, const QString &out)
{
    QString error;
    const QImage image = FormPreview::render(name, size, &error);
    if (image.isNull())
        return fail(UsageError, error);
    if (!image.save(out, "PNG"))
        return fail(OutputError, QStringLiteral("cannot write %1").arg(out));
    return 0;
}

// The device pixel ratio of --scale F (or --scale=F), which must be known
// before the application starts; 0 for a malformed value, 1 when not given.
double scaleArgument(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        QByteArray value;
        if (argument == "--scale" || argument == "-scale")
            value = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        else if (argument.startsWith("--scale="))
            value = argument.mid(8);
        else
            continue;
        bool ok = false;
        const double ratio = value.toDouble(&ok);
        return ok && ratio >= 1.0 && ratio <= 4.0 ? ratio : 0.0;
    }
    return 1.0;
}

int describe(const QString &name)
{
    const std::unique_ptr<PreviewControl> control = PreviewRegistry::instance().create(name, QSize(1, 1));
    if (!control)
        return fail(UsageError, QStringLiteral("unknown control \"%1\" (known: %2)")
                                    .arg(name, PreviewRegistry::instance().names().join(QStringLiteral(", "))));
    static const char *const kinds[] = {"property", "method", "event"};
    for (const MemberDescription &member : control->members()) {
        const QStringList fields{QString::fromLatin1(kinds[member.kind]), member.name, member.type,
                                 member.initialValue, member.savedDefault, member.help};
        std::fprintf(stdout, "%s\n", fields.join(QLatin1Char('\t')).toUtf8().constData());
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Rendering needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The screen's scale is the application's: every control then draws at
    // it, and at 1 whatever the environment asks for.
    const double scale = scaleArgument(argc, argv);
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale > 0 ? scale : 1.0));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumisong-preview"));
    QApplication::setApplicationVersion(QStringLiteral(LUMISONG_VERSION_TEXT));
    // Output must be the same on every machine.
    SystemColours::pinStandard();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders one of Lumisong's controls to a PNG."));
    parser.addHelpOption();
    const QCommandLineOption controlOption(QStringLiteral("control"),
                                           QStringLiteral("The control, e.g. Lumisong.ProgressBar."),
                                           QStringLiteral("name"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Size in pixels."),
                                        QStringLiteral("WxH"));
    const QCommandLineOption bagOption(QStringLiteral("bag"),
                                       QStringLiteral("Saved properties (a JSON property bag)."),
                                       QStringLiteral("file"));
    const QCommandLineOption setOption(QStringLiteral("set"),
                                       QStringLiteral("Assigns a property; may be repeated."),
                                       QStringLiteral("Name=Value"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The PNG to write."),
                                       QStringLiteral("file"));
    const QCommandLineOption describeOption(QStringLiteral("describe"),
                                            QStringLiteral("Lists the members of a control."),
                                            QStringLiteral("name"));
    const QCommandLineOption stateOption(QStringLiteral("state"),
                                         QStringLiteral("Button state to draw: normal, hot or down."),
                                         QStringLiteral("state"));
    const QCommandLineOption focusOption(QStringLiteral("focus"), QStringLiteral("The button has the focus."));
    const QCommandLineOption defaultOption(QStringLiteral("default"),
                                           QStringLiteral("The button is the form's default button."));
    const QCommandLineOption activeOption(QStringLiteral("active"), QStringLiteral("The form is active."));
    const QCommandLineOption overOption(QStringLiteral("over"), QStringLiteral("The pointer is over the button."));
    const QCommandLineOption noThemeOption(QStringLiteral("no-theme"),
                                           QStringLiteral("Visual themes are off."));
    const QCommandLineOption formOption(QStringLiteral("form"),
                                        QStringLiteral("A whole form: frmMain or frmUpdate."),
                                        QStringLiteral("name"));
    const QCommandLineOption scaleOption(QStringLiteral("scale"),
                                         QStringLiteral("Device pixel ratio of the screen, 1 to 4."),
                                         QStringLiteral("F"));
    const QCommandLineOption replayOption(QStringLiteral("replay"),
                                          QStringLiteral("Plays input notifications against the button "
                                                         "(- reads standard input)."),
                                          QStringLiteral("file"));
    parser.addOptions({controlOption, sizeOption, bagOption, setOption, outOption, describeOption,
                       stateOption, focusOption, defaultOption, activeOption, overOption, noThemeOption,
                       replayOption, formOption, scaleOption});
    if (!parser.parse(QApplication::arguments()))
        return fail(UsageError, parser.errorText());
    if (scale <= 0 || parser.values(scaleOption).size() > 1)
        return fail(UsageError, QStringLiteral("malformed --scale \"%1\": expected one ratio from 1 to 4")
                                    .arg(parser.values(scaleOption).join(QLatin1Char(' '))));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty())
        return fail(UsageError, QStringLiteral("unexpected argument: %1")
                                    .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(describeOption))
        return describe(parser.value(describeOption));
    if (parser.isSet(formOption)) {
        for (const QCommandLineOption &option : {controlOption, bagOption, setOption, stateOption,
                                                 focusOption, defaultOption, activeOption,
                                                 overOption, noThemeOption, replayOption}) {
            if (parser.isSet(option))
                return fail(UsageError, QStringLiteral("--%1 does not go with --form")
                                            .arg(option.names().constFirst()));
        }
        for (const QCommandLineOption &option : {formOption, outOption}) {
            if (parser.values(option).size() != 1)
                return fail(UsageError, QStringLiteral("give --%1 once").arg(option.names().constFirst()));
        }
        std::optional<QSize> size;
        if (parser.isSet(sizeOption)) {
            size = parseSize(parser.value(sizeOption));
            if (!size || parser.values(sizeOption).size() != 1)
                return failSize(parser.value(sizeOption));
        }
        return renderForm(parser.value(formOption), size, parser.value(outOption));
    }
    const bool replaying = parser.isSet(replayOption);
    for (const QCommandLineOption &option : {controlOption, sizeOption, outOption}) {
        if (replaying && option.names() == outOption.names())
            continue;
        if (!parser.isSet(option) || parser.values(option).size() != 1)
            return fail(UsageError, QStringLiteral("give --%1 once").arg(option.names().constFirst()));
    }
    for (const QCommandLineOption &option : {bagOption, outOption, replayOption}) {
        if (parser.values(option).size() > 1)
            return fail(UsageError, QStringLiteral("give --%1 at most once").arg(option.names().constFirst()));
    }

    const std::optional<QSize> size = parseSize(parser.value(sizeOption));
    if (!size)
        return failSize(parser.value(sizeOption));
    const QString controlName = parser.value(controlOption);
    std::unique_ptr<PreviewControl> control = PreviewRegistry::instance().create(controlName, *size);
    if (!control)
        return fail(UsageError, QStringLiteral("unknown control \"%1\" (known: %2)")
                                    .arg(controlName, PreviewRegistry::instance().names().join(QStringLiteral(", "))));

    PreviewControl::RunState runState;
    if (parser.isSet(stateOption)) {
        static const QStringList states{QStringLiteral("normal"), QStringLiteral("hot"), QStringLiteral("down")};
        const qsizetype index = states.indexOf(parser.value(stateOption).toLower());
        if (index < 0)
            return fail(UsageError, QStringLiteral("malformed --state \"%1\": expected normal, hot or down")
                                        .arg(parser.value(stateOption)));
        runState.state = int(index);
    }
    runState.focus = parser.isSet(focusOption);
    runState.isDefault = parser.isSet(defaultOption);
    runState.active = parser.isSet(activeOption);
    runState.over = parser.isSet(overOption);
    runState.themes = !parser.isSet(noThemeOption);
    auto *button = qobject_cast<zephbutton *>(control->widget());
    if (replaying && !button)
        return fail(UsageError, QStringLiteral("--replay applies to the skinned button only"));
    if (replaying && (runState.state || runState.focus || runState.isDefault || runState.active || runState.over))
        return fail(UsageError, QStringLiteral("--replay sets the state itself: give no --state, --focus, "
                                               "--default, --active or --over"));
    {
        QString error;
        if (!control->setThemesAvailable(runState.themes, &error))
            return fail(UsageError, error);
    }

    control->create();
    if (parser.isSet(bagOption)) {
        QString error;
        const std::optional<PropertyBag> bag = readBag(parser.value(bagOption), &error);
        if (!bag)
            return fail(UsageError, error);
        control->readProperties(*bag);
    }
    for (const QString &assignment : parser.values(setOption)) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return fail(UsageError, QStringLiteral("malformed --set \"%1\": expected Name=Value").arg(assignment));
        QString error;
        if (!control->assign(assignment.left(equals).trimmed(), assignment.mid(equals + 1),
                             QDir::currentPath(), &error))
            return fail(UsageError, error);
    }

    if (replaying) {
        QString error;
        const std::optional<QString> text = ReplayScript::read(parser.value(replayOption), &error);
        if (!text)
            return fail(UsageError, error);
        const std::optional<ReplayScript> script = ReplayScript::parse(*text, &error);
        if (!script)
            return fail(UsageError, error);
        ButtonReplay replay(*control, *button, QDir::currentPath(), [](const QString &line) {
            std::fputs(line.toUtf8().append('\n').constData(), stdout);
            std::fflush(stdout);
        });
        if (!replay.play(*script, &error))
            return fail(UsageError, error);
        if (!parser.isSet(outOption))
            return 0;
    } else {
        QString error;
        if (!control->applyRunState(runState, &error))
            return fail(UsageError, error);
    }

    const QImage image = control->render();
    const QString out = parser.value(outOption);
    if (image.isNull() || !image.save(out, "PNG"))
        return fail(OutputError, QStringLiteral("cannot write %1").arg(out));
    return 0;
}
