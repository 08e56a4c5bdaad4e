// The property tables against the controls' public face: a row for every
// Q_PROPERTY, in the same order, and every step order a gapless 1..n, so
// that a mistyped position cannot silently reorder loading or saving.

#include <QMetaProperty>
#include <QTest>

#include <algorithm>

#include "controls/button/buttonmembers.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "controls/progressbar/progressbarmembers.h"

using namespace Lumisong;

namespace {

QStringList ownProperties(const QMetaObject &meta)
{
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    return names;
}

template <typename Row>
QStringList namesOf(const QList<Row> &table)
{
    QStringList names;
    for (const Row &row : table)
        names << QString::fromLatin1(row.name);
    return names;
}

// Each positive position once, and together 1..n.
template <typename Row>
bool gapless(const QList<Row> &table, int Row::*step)
{
    QList<int> positions;
    for (const Row &row : table) {
        if (row.*step > 0)
            positions << row.*step;
    }
    std::sort(positions.begin(), positions.end());
    for (qsizetype i = 0; i < positions.size(); ++i) {
        if (positions.at(i) != i + 1)
            return false;
    }
    return !positions.isEmpty();
}

} // namespace

class tst_PropertyTables : public QObject
{
    Q_OBJECT

private slots:
    void tablesFollowTheInterface()
    {
        QCOMPARE(namesOf(ButtonMembers::properties()), ownProperties(zephbutton::staticMetaObject));
        QCOMPARE(namesOf(ProgressBarMembers::properties()), ownProperties(ProgressBar::staticMetaObject));
        for (int i = 0; i < ButtonMembers::properties().size(); ++i)
            QCOMPARE(int(ButtonMembers::properties().at(i).id), i);
    }

    void stepOrdersAreGapless()
    {
        QVERIFY(gapless(ButtonMembers::properties(), &ButtonPropertySpec::placeOrder));
        QVERIFY(gapless(ButtonMembers::properties(), &ButtonPropertySpec::loadOrder));
        QVERIFY(gapless(ButtonMembers::properties(), &ButtonPropertySpec::saveOrder));
        QCOMPARE(ButtonMembers::inOrder(&ButtonPropertySpec::saveOrder).size(), 37);
        QVERIFY(gapless(ProgressBarMembers::properties(), &ProgressBarProperty::initOrder));
        QVERIFY(gapless(ProgressBarMembers::properties(), &ProgressBarProperty::readOrder));
        QVERIFY(gapless(ProgressBarMembers::properties(), &ProgressBarProperty::writeOrder));
    }
};

QTEST_APPLESS_MAIN(tst_PropertyTables)
#include "tst_propertytables.moc"
