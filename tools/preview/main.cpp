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

int unknownControl(const QString &name)
{
    return fail(UsageError, QStringLiteral("unknown control \"%1\" (known: %2)")
                                .arg(name, PreviewRegistry::instance().names().join(QStringLiteral(", "))));
}

int describe(const QString &name)
{
    const std::unique_ptr<PreviewControl> control = PreviewRegistry::instance().create(name, QSize(1, 1));
    if (!control)
        return unknownControl(name);
    static const char *const kinds[] = {"property", "method", "event"};
    for (const MemberDescription &member : control->members()) {
        const QStringList fields{QString::fromLatin1(kinds[member.kind]), member.name, member.type,
                                 member.initialValue, member.savedDefault, member.help};
        std::fprintf(stdout, "%s\n", fields.join(QLatin1Char('\t')).toUtf8().constData());
    }
    return 0;
}

// The command line's options, in the order --help lists them.
struct Options
{
    QCommandLineOption control{QStringLiteral("control"), QStringLiteral("The control, e.g. Lumisong.ProgressBar."),
                               QStringLiteral("name")};
    QCommandLineOption size{QStringLiteral("size"), QStringLiteral("Size in pixels."), QStringLiteral("WxH")};
    QCommandLineOption bag{QStringLiteral("bag"), QStringLiteral("Saved properties (a JSON property bag)."),
                           QStringLiteral("file")};
    QCommandLineOption set{QStringLiteral("set"), QStringLiteral("Assigns a property; may be repeated."),
                           QStringLiteral("Name=Value")};
    QCommandLineOption out{QStringLiteral("out"), QStringLiteral("The PNG to write."), QStringLiteral("file")};
    QCommandLineOption describe{QStringLiteral("describe"), QStringLiteral("Lists the members of a control."),
                                QStringLiteral("name")};
    QCommandLineOption state{QStringLiteral("state"), QStringLiteral("Button state to draw: normal, hot or down."),
                             QStringLiteral("state")};
    QCommandLineOption focus{QStringLiteral("focus"), QStringLiteral("The button has the focus.")};
    QCommandLineOption isDefault{QStringLiteral("default"), QStringLiteral("The button is the form's default button.")};
    QCommandLineOption active{QStringLiteral("active"), QStringLiteral("The form is active.")};
    QCommandLineOption over{QStringLiteral("over"), QStringLiteral("The pointer is over the button.")};
    QCommandLineOption noTheme{QStringLiteral("no-theme"), QStringLiteral("Visual themes are off.")};
    QCommandLineOption form{QStringLiteral("form"), QStringLiteral("A whole form: frmMain or frmUpdate."),
                            QStringLiteral("name")};
    QCommandLineOption scale{QStringLiteral("scale"), QStringLiteral("Device pixel ratio of the screen, 1 to 4."),
                             QStringLiteral("F")};
    QCommandLineOption replay{QStringLiteral("replay"),
                              QStringLiteral("Plays input notifications against the button "
                                             "(- reads standard input)."),
                              QStringLiteral("file")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.addOptions({control, size, bag, set, out, describe, state, focus, isDefault, active, over, noTheme,
                           replay, form, scale});
    }
};

int formMode(const QCommandLineParser &parser, const Options &o)
{
    for (const QCommandLineOption &option :
         {o.control, o.bag, o.set, o.state, o.focus, o.isDefault, o.active, o.over, o.noTheme, o.replay}) {
        if (parser.isSet(option))
            return fail(UsageError,
                        QStringLiteral("--%1 does not go with --form").arg(option.names().constFirst()));
    }
    for (const QCommandLineOption &option : {o.form, o.out}) {
        if (parser.values(option).size() != 1)
            return fail(UsageError, QStringLiteral("give --%1 once").arg(option.names().constFirst()));
    }
    std::optional<QSize> size;
    if (parser.isSet(o.size)) {
        size = parseSize(parser.value(o.size));
        if (!size || parser.values(o.size).size() != 1)
            return failSize(parser.value(o.size));
    }
    return renderForm(parser.value(o.form), size, parser.value(o.out));
}

// The options a control rendering needs once, or at most once; 0 when they hold.
int checkControlOptions(const QCommandLineParser &parser, const Options &o)
{
    const bool replaying = parser.isSet(o.replay);
    for (const QCommandLineOption &option : {o.control, o.size, o.out}) {
        if (replaying && option.names() == o.out.names())
            continue;
        if (!parser.isSet(option) || parser.values(option).size() != 1)
            return fail(UsageError, QStringLiteral("give --%1 once").arg(option.names().constFirst()));
    }
    for (const QCommandLineOption &option : {o.bag, o.out, o.replay}) {
        if (parser.values(option).size() > 1)
            return fail(UsageError,
                        QStringLiteral("give --%1 at most once").arg(option.names().constFirst()));
    }
    return 0;
}

std::optional<PreviewControl::RunState> runStateOf(const QCommandLineParser &parser, const Options &o)
{
    PreviewControl::RunState runState;
    if (parser.isSet(o.state)) {
        static const QStringList states{QStringLiteral("normal"), QStringLiteral("hot"), QStringLiteral("down")};
        const qsizetype index = states.indexOf(parser.value(o.state).toLower());
        if (index < 0)
            return std::nullopt;
        runState.state = int(index);
    }
    runState.focus = parser.isSet(o.focus);
    runState.isDefault = parser.isSet(o.isDefault);
    runState.active = parser.isSet(o.active);
    runState.over = parser.isSet(o.over);
    runState.themes = !parser.isSet(o.noTheme);
    return runState;
}

// The saved properties of --bag, then each --set in order.
int loadProperties(PreviewControl &control, const QCommandLineParser &parser, const Options &o)
{
    if (parser.isSet(o.bag)) {
        QString error;
        const std::optional<PropertyBag> bag = readBag(parser.value(o.bag), &error);
        if (!bag)
            return fail(UsageError, error);
        control.readProperties(*bag);
    }
    for (const QString &assignment : parser.values(o.set)) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return fail(UsageError,
                        QStringLiteral("malformed --set \"%1\": expected Name=Value").arg(assignment));
        QString error;
        if (!control.assign(assignment.left(equals).trimmed(), assignment.mid(equals + 1), QDir::currentPath(),
                            &error))
            return fail(UsageError, error);
    }
    return 0;
}

int replay(PreviewControl &control, zephbutton &button, const QString &path)
{
    QString error;
    const std::optional<QString> text = ReplayScript::read(path, &error);
    if (!text)
        return fail(UsageError, error);
    const std::optional<ReplayScript> script = ReplayScript::parse(*text, &error);
    if (!script)
        return fail(UsageError, error);
    ButtonReplay player(control, button, QDir::currentPath(), [](const QString &line) {
        std::fputs(line.toUtf8().append('\n').constData(), stdout);
        std::fflush(stdout);
    });
    if (!player.play(*script, &error))
        return fail(UsageError, error);
    return 0;
}

int controlMode(const QCommandLineParser &parser, const Options &o)
{
    if (const int status = checkControlOptions(parser, o))
        return status;
    const std::optional<QSize> size = parseSize(parser.value(o.size));
    if (!size)
        return failSize(parser.value(o.size));
    const QString controlName = parser.value(o.control);
    std::unique_ptr<PreviewControl> control = PreviewRegistry::instance().create(controlName, *size);
    if (!control)
        return unknownControl(controlName);

    const std::optional<PreviewControl::RunState> runState = runStateOf(parser, o);
    if (!runState)
        return fail(UsageError, QStringLiteral("malformed --state \"%1\": expected normal, hot or down")
                                    .arg(parser.value(o.state)));
    const bool replaying = parser.isSet(o.replay);
    auto *button = qobject_cast<zephbutton *>(control->widget());
    if (replaying && !button)
        return fail(UsageError, QStringLiteral("--replay applies to the skinned button only"));
    if (replaying && (runState->state || runState->focus || runState->isDefault || runState->active || runState->over))
        return fail(UsageError, QStringLiteral("--replay sets the state itself: give no --state, --focus, "
                                               "--default, --active or --over"));
    QString error;
    if (!control->setThemesAvailable(runState->themes, &error))
        return fail(UsageError, error);

    control->create();
    if (const int status = loadProperties(*control, parser, o))
        return status;
    if (replaying) {
        if (const int status = replay(*control, *button, parser.value(o.replay)))
            return status;
        if (!parser.isSet(o.out))
            return 0;
    } else if (!control->applyRunState(*runState, &error)) {
        return fail(UsageError, error);
    }

    const QImage image = control->render();
    const QString out = parser.value(o.out);
    if (image.isNull() || !image.save(out, "PNG"))
        return fail(OutputError, QStringLiteral("cannot write %1").arg(out));
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
    const Options options;
    options.addTo(parser);
    if (!parser.parse(QApplication::arguments()))
        return fail(UsageError, parser.errorText());
    if (scale <= 0 || parser.values(options.scale).size() > 1)
        return fail(UsageError, QStringLiteral("malformed --scale \"%1\": expected one ratio from 1 to 4")
                                    .arg(parser.values(options.scale).join(QLatin1Char(' '))));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty())
        return fail(UsageError, QStringLiteral("unexpected argument: %1")
                                    .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(options.describe))
        return describe(parser.value(options.describe));
    if (parser.isSet(options.form))
        return formMode(parser, options);
    return controlMode(parser, options);
}
