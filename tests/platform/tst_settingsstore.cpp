#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "platform/settingsstore.h"

using namespace Lumisong;

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void keysIgnoreCase_data();
    void keysIgnoreCase();
    void absentKeyGivesDefault();
    void valuesSurviveReopening();
    void perUserStoreLivesInTestLocation();
    void corruptFileReadsAsEmpty_data();
    void corruptFileReadsAsEmpty();
    void unwritableFileKeepsTheRunGoing();
};

void tst_SettingsStore::keysIgnoreCase_data()
{
    QTest::addColumn<QString>("sectionAs");
    QTest::addColumn<QString>("writtenAs");
    QTest::addColumn<QString>("readAs");
    QTest::newRow("same") << "Lumisong" << "VersionNotip" << "VersionNotip";
    QTest::newRow("upper T") << "Lumisong" << "VersionNoTip" << "VersionNotip";
    QTest::newRow("all lower") << "Lumisong" << "versionnotip" << "VERSIONNOTIP";
    // A hand-edited file may spell the section otherwise.
    QTest::newRow("section lower") << "lumisong" << "VersionNoTip" << "VersionNotip";
    QTest::newRow("section upper") << "LUMISONG" << "VersionNotip" << "versionnotip";
}

void tst_SettingsStore::keysIgnoreCase()
{
    QFETCH(QString, sectionAs);
    QFETCH(QString, writtenAs);
    QFETCH(QString, readAs);
    QTemporaryDir dir;
    SettingsStore store = SettingsStore::atPath(dir.filePath(QStringLiteral("s.ini")));
    store.setValue(QStringLiteral("Lumisong"), QStringLiteral("VersionNotip"),
                   QStringLiteral("1.0.0"));
    // A second spelling replaces the first instead of standing beside it.
    store.setValue(sectionAs, writtenAs, QStringLiteral("1.2.0"));
    QCOMPARE(store.value(QStringLiteral("Lumisong"), readAs), QStringLiteral("1.2.0"));
    store.sync();

    QSettings raw(store.fileName(), QSettings::IniFormat);
    QCOMPARE(raw.childGroups(), QStringList{sectionAs});
    raw.beginGroup(sectionAs);
    QCOMPARE(raw.childKeys(), QStringList{writtenAs});

    store.remove(QStringLiteral("Lumisong"), readAs);
    QCOMPARE(store.value(QStringLiteral("Lumisong"), writtenAs, QStringLiteral("none")),
             QStringLiteral("none"));
}

void tst_SettingsStore::absentKeyGivesDefault()
{
    QTemporaryDir dir;
    SettingsStore store = SettingsStore::atPath(dir.filePath(QStringLiteral("s.ini")));
    QCOMPARE(store.value(QStringLiteral("Lumisong"), QStringLiteral("VersionNotip")), QString());
    QCOMPARE(store.value(QStringLiteral("Lumisong"), QStringLiteral("VersionNotip"),
                         QStringLiteral("x")),
             QStringLiteral("x"));
    // Another section does not answer for this one.
    store.setValue(QStringLiteral("Other"), QStringLiteral("VersionNotip"), QStringLiteral("9"));
    QCOMPARE(store.value(QStringLiteral("Lumisong"), QStringLiteral("VersionNotip")), QString());
}

void tst_SettingsStore::valuesSurviveReopening()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    {
        SettingsStore store = SettingsStore::atPath(path);
        store.setValue(QStringLiteral("Lumisong"), QStringLiteral("VersionNoTip"),
                       QStringLiteral("2.0.1, 中文"));
    }
    SettingsStore again = SettingsStore::atPath(path);
    QCOMPARE(again.value(QStringLiteral("Lumisong"), QStringLiteral("versionnotip")),
             QStringLiteral("2.0.1, 中文"));
}

void tst_SettingsStore::perUserStoreLivesInTestLocation()
{
    SettingsStore store(QStringLiteral("Tolvane"));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QVERIFY2(store.fileName().startsWith(config), qPrintable(store.fileName()));
    QVERIFY(store.fileName().endsWith(QStringLiteral("Tolvane.ini")));
}

void tst_SettingsStore::corruptFileReadsAsEmpty_data()
{
    QTest::addColumn<QByteArray>("corrupt");
    const QByteArray readable("[Lumisong]\nVersionNotip=1.2.0\n");
    QByteArray junk;
    for (int i = 0; i < 300; ++i)
        junk.append(char((i * 37 + 11) % 256));
    QTest::newRow("binary junk after the entry") << readable + junk;
    QTest::newRow("control characters") << readable + QByteArray("x=\x01\x02\n");
    QTest::newRow("section never closed") << readable + "[Lumisong\nfoo=1\n";
}

void tst_SettingsStore::corruptFileReadsAsEmpty()
{
    QFETCH(QByteArray, corrupt);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(corrupt);
    }
    {
        SettingsStore store = SettingsStore::atPath(path);
        // Not even the readable start of a corrupt file counts.
        QCOMPARE(store.value(QStringLiteral("Lumisong"), QStringLiteral("VersionNotip")),
                 QString());
        store.setValue(QStringLiteral("Lumisong"), QStringLiteral("VersionNoTip"),
                       QStringLiteral("1.3.0"));
    }
    // Written afresh, the old bytes kept beside it.
    QSettings raw(path, QSettings::IniFormat);
    QCOMPARE(raw.status(), QSettings::NoError);
    QCOMPARE(raw.allKeys(), QStringList{QStringLiteral("Lumisong/VersionNoTip")});
    QCOMPARE(raw.value(QStringLiteral("Lumisong/VersionNoTip")).toString(),
             QStringLiteral("1.3.0"));
    QFile aside(path + QStringLiteral(".corrupt"));
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), corrupt);
}

void tst_SettingsStore::unwritableFileKeepsTheRunGoing()
{
    QTemporaryDir dir;
    // A folder that is a file: nothing can be made below it.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsStore store = SettingsStore::atPath(blocker + QStringLiteral("/s.ini"));
    store.setValue(QStringLiteral("Lumisong"), QStringLiteral("VersionNoTip"),
                   QStringLiteral("1.2.0"));
    store.sync();
    QCOMPARE(store.value(QStringLiteral("Lumisong"), QStringLiteral("VersionNotip")),
             QStringLiteral("1.2.0"));
    QVERIFY(!QFile::exists(blocker + QStringLiteral("/s.ini")));
}

QTEST_APPLESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
