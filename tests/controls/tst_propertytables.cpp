// The property tables against the controls' public face: a row for every
// Q_PROPERTY, in the same order, and every step order a gapless 1..n, so
// that a mistyped position cannot silently reorder loading or saving; and
// every writable property, written through the meta-object, reads back what
// was written and is announced last by its own name.

#include <QImage>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

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

Picture redSquare()
{
    Picture picture;
    picture.image = QImage(4, 4, QImage::Format_ARGB32);
    picture.image.fill(Qt::red);
    return picture;
}

// A value of the property's type that a newly placed control does not hold.
QVariant otherValue(const QMetaProperty &property, const QObject &control)
{
    const QVariant now = property.read(&control);
    switch (property.metaType().id()) {
    case QMetaType::Int:
        return now.toInt() == 2 ? 3 : 2;
    case QMetaType::Bool:
        return !now.toBool();
    case QMetaType::QString:
        return QStringLiteral("written");
    default:
        break;
    }
    if (property.metaType() == QMetaType::fromType<Colour>())
        return QVariant::fromValue(Colour::rgb(1, 2, 3));
    if (property.metaType() == QMetaType::fromType<FontDescription>()) {
        FontDescription font = FontDescription::ambient();
        font.points = 17;
        return QVariant::fromValue(font);
    }
    if (property.metaType() == QMetaType::fromType<Picture>())
        return QVariant::fromValue(redSquare());
    return {};
}

std::unique_ptr<QWidget> placed(const QString &control)
{
    if (control == u"button") {
        auto button = std::make_unique<zephbutton>();
        button->resize(75, 23);
        button->InitProperties();
        // A toggle keeps its Value, and hot and down pictures need a normal one.
        button->setMode(1);
        button->setPictureNormalValue(redSquare());
        return button;
    }
    auto bar = std::make_unique<ProgressBar>();
    bar->resize(160, 22);
    bar->UserControl_InitProperties();
    return bar;
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

    void everyPropertyWritesAndAnnouncesItself_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        for (const QString &control : {QStringLiteral("button"), QStringLiteral("bar")}) {
            const std::unique_ptr<QWidget> widget = placed(control);
            const QMetaObject *meta = widget->metaObject();
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
                if (meta->property(i).isWritable())
                    QTest::addRow("%s %s", qPrintable(control), meta->property(i).name())
                        << control << QString::fromLatin1(meta->property(i).name());
            }
        }
    }

    void everyPropertyWritesAndAnnouncesItself()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        const std::unique_ptr<QWidget> widget = placed(control);
        const QMetaProperty property =
            widget->metaObject()->property(widget->metaObject()->indexOfProperty(name.toLatin1()));
        const QVariant written = otherValue(property, *widget);
        QVERIFY2(written.isValid(), property.typeName());
        auto *button = qobject_cast<zephbutton *>(widget.get());
        QSignalSpy announced = button ? QSignalSpy(button, &zephbutton::propertyChanged)
                                      : QSignalSpy(qobject_cast<ProgressBar *>(widget.get()),
                                                   &ProgressBar::propertyChanged);
        QVERIFY(property.write(widget.get(), written));
        QCOMPARE(property.read(widget.get()), written);
        QVERIFY(!announced.isEmpty());
        QCOMPARE(announced.constLast().at(0).toString(), name);
    }
};

QTEST_MAIN(tst_PropertyTables)
#include "tst_propertytables.moc"
