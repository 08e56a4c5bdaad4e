#pragma once

#include <QDialog>
#include <QString>

#include <functional>

#include "platform/ui/skinframe.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace Lumisong {

class ImageBox;
class SettingsStore;
class ShellOpener;
class zephbutton;
struct UpdateNotice;

// The update dialog: tells of a newer version, shows its notes and asks
// whether to open the version page now. Borderless and skinned like the main
// window, dragged by its title. "是(&Y)" opens the version page and asks for
// the end of the program; "否(&N)" stores or clears the reminder setting,
// closes the dialog and asks for the catalogue. Closing it any other way
// (Escape, the window manager) counts as "否(&N)" with the box as it stands,
// so that start-up never stalls.
class frmUpdate final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmUpdate)

public:
    // Builds the controls of a form file on a form (the program's form loader).
    using FormBuilder = std::function<bool(QWidget *form, const QString &formFile, QString *error)>;

    struct Environment
    {
        SettingsStore *settings = nullptr; // the reminder setting; null: nothing is stored
        ShellOpener *shellOpener = nullptr;
        QString versionUrl; // the page "是(&Y)" opens
        QString formFile = QStringLiteral(":/forms/frmupdate.json");
    };

    frmUpdate(const Environment &environment, const FormBuilder &build, QWidget *parent = nullptr);
    ~frmUpdate() override;

    // Centres the dialog over `mainForm` and copies its skin pictures and
    // window icon.
    void Form_Load(const QWidget *mainForm);
    // Fills the texts of a due reminder: lblUpdate, txtNew, the date after
    // lblTitle, and the version "否(&N)" may silence.
    void announce(const UpdateNotice &notice);

    void Form_Resize();
    void chkNoMore_Click();
    void lblNoMore_Click();
    void btnOk_Click();
    void btnCancel_Click();

    const QString &NewestVersion() const { return m_newestVersion; }
    QLabel *lblTitle() const { return m_lblTitle; }
    QLabel *lblUpdate() const { return m_lblUpdate; }
    QPlainTextEdit *txtNew() const { return m_txtNew; }
    QLabel *lblTip() const { return m_lblTip; }
    QCheckBox *chkNoMore() const { return m_chkNoMore; }
    QLabel *lblNoMore() const { return m_lblNoMore; }
    zephbutton *btnOk() const { return m_btnOk; }
    zephbutton *btnCancel() const { return m_btnCancel; }
    const SkinFrame &skin() const { return m_skin; }
    ImageBox *imgIcon() const { return m_imgIcon; }

signals:
    // "否(&N)": the dialog has closed; start-up goes on with the catalogue.
    void catalogueWanted();
    // "是(&Y)": the version page has been handed to the browser; the program ends.
    void programEndWanted();

public slots:
    // Escape and the window manager's close: "否(&N)" with the box as it stands.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename T> T *designed(const QString &name) const;

    Environment m_env;
    SkinFrame m_skin;
    ImageBox *m_imgIcon = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblUpdate = nullptr;
    QPlainTextEdit *m_txtNew = nullptr;
    QLabel *m_lblTip = nullptr;
    QCheckBox *m_chkNoMore = nullptr;
    QLabel *m_lblNoMore = nullptr;
    zephbutton *m_btnOk = nullptr;
    zephbutton *m_btnCancel = nullptr;
    QString m_newestVersion;
    bool m_answered = false;
};

} // namespace Lumisong
