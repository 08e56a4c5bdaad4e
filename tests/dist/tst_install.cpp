#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/programrun.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

// The long options `lumisong --help` lists.
QSet<QString> optionsOfTheProgram()
{
    const Run run = runLumisong({u"--help"_s});
    static const QRegularExpression option(u"^\\s+(?:-\\S, )?--([a-z-]+)"_s,
                                           QRegularExpression::MultilineOption);
    QSet<QString> options;
    for (const QRegularExpressionMatch &m : option.globalMatch(QString::fromUtf8(run.out)))
        options.insert(m.captured(1));
    return options;
}

// The long options the manual page names, its "\-" read as "-"; the examples'
// aria2c commands, with their continuation lines, name aria2c's options.
QSet<QString> optionsOfTheManPage()
{
    QFile file(QStringLiteral(LUMISONG_MANPAGE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString page;
    bool continued = false; // the line goes on with an aria2c command
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const bool ours = !continued && !line.startsWith(u"aria2c ");
        if (ours)
            page += line + u'\n';
        continued = !ours && line.endsWith(u"\\e");
    }
    page.replace(u"\\-"_s, u"-"_s);
    static const QRegularExpression option(u"(?<![\\w-])--([a-z][a-z-]*)"_s);
    QSet<QString> options;
    for (const QRegularExpressionMatch &m : option.globalMatch(page))
        options.insert(m.captured(1));
    return options;
}

} // namespace

class TestInstall final : public QObject
{
    Q_OBJECT

private slots:
    void manPageNamesEveryOption();
    void manPageRendersWithoutWarnings();
    void installPutsEverythingInPlace();
};

void TestInstall::manPageNamesEveryOption()
{
    const QSet<QString> program = optionsOfTheProgram();
    QVERIFY(program.contains(u"archive"_s) && program.contains(u"check-update"_s));
    const QSet<QString> page = optionsOfTheManPage();
    QStringList missing = QSet<QString>(program).subtract(page).values();
    QStringList unknown = QSet<QString>(page).subtract(program).values();
    missing.sort();
    unknown.sort();
    QCOMPARE(missing, QStringList()); // options the page does not tell of
    QCOMPARE(unknown, QStringList()); // options the page tells of that are gone
}

void TestInstall::manPageRendersWithoutWarnings()
{
    const QString man = QStandardPaths::findExecutable(u"man"_s);
    if (man.isEmpty())
        QSKIP("man is not installed (Debian: man-db)");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("MANWIDTH", "80");
    const Run run = runProgram(
        man, {u"--warnings"_s, u"-E"_s, u"UTF-8"_s, u"-l"_s, QStringLiteral(LUMISONG_MANPAGE)});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.err), QString());
    QVERIFY(run.out.contains("--archive"));
}

void TestInstall::installPutsEverythingInPlace()
{
    QTemporaryDir prefix;
    const Run install = runProgram(
        QStringLiteral(LUMISONG_CMAKE),
        {u"--install"_s, QStringLiteral(LUMISONG_BUILD_DIR), u"--prefix"_s, prefix.path()});
    QVERIFY2(install.exitCode == 0, install.err.constData());
    const QDir root(prefix.path());
    QStringList expected{u"bin/lumisong"_s, u"libexec/lumisong/lumisong-window"_s,
                         u"share/applications/lumisong.desktop"_s,
                         u"share/man/man1/lumisong.1.gz"_s,
                         u"lib/systemd/user/lumisong-send.service"_s,
                         u"lib/systemd/user/lumisong-send.timer"_s};
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        expected << u"share/icons/hicolor/%1x%1/apps/lumisong.png"_s.arg(size);
    for (const QString &file : expected)
        QVERIFY2(QFile::exists(root.filePath(file)), qPrintable(file));

    // The service starts the program where it is installed, with no secret in its arguments.
    QFile unit(root.filePath(u"lib/systemd/user/lumisong-send.service"_s));
    QVERIFY(unit.open(QIODevice::ReadOnly));
    const QByteArray service = unit.readAll();
    QVERIFY(service.contains(QByteArray("\nExecStart=" + QFile::encodeName(root.filePath(u"bin/lumisong"_s)) + ' ')));
    QVERIFY(!service.contains("SECRET}"));

    const Run version = runProgram(root.filePath(u"bin/lumisong"_s), {u"--version"_s});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray(LUMISONG_VERSION_LINE "\n"));

    // Asked for the window, the installed program becomes the installed window
    // program, which gets as far as Qt's display plugin; without it, it says so.
    QProcessEnvironment noPlugin;
    noPlugin.insert(u"QT_QPA_PLATFORM"_s, u"no-such-display"_s);
    const Run window = runProgram(root.filePath(u"bin/lumisong"_s), {}, QString(), noPlugin);
    QVERIFY2(window.err.contains("\"no-such-display\""), window.err.constData());
    QVERIFY(QFile::remove(root.filePath(u"libexec/lumisong/lumisong-window"_s)));
    const Run missing = runProgram(root.filePath(u"bin/lumisong"_s), {}, QString(), noPlugin);
    QCOMPARE(missing.exitCode, 1);
    QVERIFY2(missing.err.startsWith("lumisong: cannot start the window ("), missing.err.constData());

    const QString validate = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validate.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian: desktop-file-utils)");
    const Run valid =
        runProgram(validate, {root.filePath(u"share/applications/lumisong.desktop"_s)});
    QCOMPARE(valid.exitCode, 0);
    QCOMPARE(valid.out + valid.err, QByteArray()); // not even a hint
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
