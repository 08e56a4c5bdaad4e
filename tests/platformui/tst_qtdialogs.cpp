#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "platform/ui/filesavedialog.h"
#include "platform/ui/qtmessagebox.h"
#include "platform/ui/qttranslations.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

// Runs `act` on the modal dialog of type T once it is up.
template <typename T> void whenShown(const std::function<void(T *)> &act)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

} // namespace

class tst_QtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxCaptionStaysReadable_data();
    void messageBoxCaptionStaysReadable();
    void saveDialogSuffixFollowsTheType_data();
    void saveDialogSuffixFollowsTheType();
    // Last: it changes Qt's texts for the rest of the run.
    void qtSpeaksChinese();
};

void tst_QtDialogs::messageBoxCaptionStaysReadable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("list written") << u"列表成功生成！"_s << u"Lumisong"_s;
    QTest::newRow("overwrite question") << u"文件已经存在，是否覆盖？"_s << u"覆盖"_s;
    QTest::newRow("long caption") << u"好"_s << u"Lumisong 新歌列表生成器 - 提示"_s;
}

void tst_QtDialogs::messageBoxCaptionStaysReadable()
{
    QFETCH(QString, text);
    QFETCH(QString, caption);
    int width = 0;
    QFont font;
    QString shownCaption;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        width = box->width();
        font = box->font();
        shownCaption = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    QtMessageBox boxes;
    const MessageBox::Answer answer =
        boxes.show(nullptr, text, caption, MessageBox::Icon::Information, MessageBox::Buttons::Ok);
    QCOMPARE(answer, MessageBox::Answer::Ok);
    QCOMPARE(shownCaption, caption);
    // Room for the caption in a bold title font beside the window manager's
    // icon and buttons.
    QFont bold = font;
    bold.setBold(true);
    QVERIFY2(width >= QFontMetrics(bold).horizontalAdvance(caption) + 150,
             qPrintable(QString::number(width)));
}

void tst_QtDialogs::saveDialogSuffixFollowsTheType_data()
{
    QTest::addColumn<int>("typeSteps"); // Down presses on the file-type box
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("type"); // the entry the answer names
    QTest::newRow("list file") << 0 << u"songs"_s << u"songs.lst"_s << 0;
    QTest::newRow("text file") << 1 << u"songs"_s << u"songs.txt"_s << 1;
    QTest::newRow("all files") << 2 << u"songs"_s << u"songs.lst"_s << 2;
    QTest::newRow("text file, typed extension") << 1 << u"songs.lst"_s << u"songs.lst"_s << 1;
    QTest::newRow("text, then back to list") << -1 << u"songs"_s << u"songs.lst"_s << 0;
    QTest::newRow("same pattern, later entry") << 3 << u"songs"_s << u"songs.txt"_s << 3;
    QTest::newRow("playlist") << 4 << u"songs"_s << u"songs.m3u8"_s << 4;
}

void tst_QtDialogs::saveDialogSuffixFollowsTheType()
{
    QFETCH(int, typeSteps);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(int, type);
    QTemporaryDir dir;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        auto *types = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s);
        auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        QVERIFY(types && name);
        // As a user chooses a type: by keyboard on the type box.
        types->setFocus();
        if (typeSteps < 0) {
            QTest::keyClick(types, Qt::Key_Down);
            QTest::keyClick(types, Qt::Key_Up);
        }
        for (int i = 0; i < typeSteps; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    FileSaveDialog dialog;
    const SaveDialogAnswer answer = dialog.askSaveFileName(
        nullptr, {u"Lumisong"_s, dir.filePath(u"百度新歌下载列表"_s), u"lst"_s,
                  u"列表文件(*.lst)|*.lst|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*|"
                  u"下载地址(*.txt)|*.txt|播放列表(*.m3u8)|*.m3u8"_s, QString()});
    QCOMPARE(answer.path, dir.filePath(saved));
    QCOMPARE(answer.type, type);
}

void tst_QtDialogs::qtSpeaksChinese()
{
    if (!QtTranslations::install())
        QSKIP("Qt's Chinese translations are not installed (Debian: qt6-translations-l10n)");
    QMessageBox box(QMessageBox::Question, u"覆盖"_s, u"?"_s,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), u"是(&Y)"_s);
    QCOMPARE(box.button(QMessageBox::No)->text(), u"否(&N)"_s);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"取消"_s);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), u"确定"_s);
    QDialogButtonBox save(QDialogButtonBox::Save);
    QCOMPARE(save.button(QDialogButtonBox::Save)->text(), u"保存"_s);
    // The save dialog's type column, which Qt's translation leaves English.
    QTemporaryDir dir;
    QCOMPARE(QAbstractFileIconProvider().type(QFileInfo(dir.path())), u"文件夹"_s);
}

QTEST_MAIN(tst_QtDialogs)
#include "tst_qtdialogs.moc"
