#pragma once

// The About box: program icon, title, version, a hint on writing formulas, a disclaimer, and a
// button that starts the system's information tool.

#include <QDialog>
#include <QIcon>
#include <QPointer>
#include <memory>

#include "plotter/about/key_lookup.h"
#include "plotter/about/sys_info.h"

class QLabel;
class QPushButton;

namespace ondrix::qt {

// A horizontal line of one colour and thickness filling its widget: two of them, grey above
// white, make the etched separator.
class SeparatorLine : public QWidget {
  public:
    SeparatorLine(const QColor& color, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
};

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    // `icon` is the program icon, the one the main window shows. The dialog deletes itself when
    // it is closed.
    explicit frmAbout(const QIcon& icon, QWidget* parent = nullptr);
    ~frmAbout() override;

    // Finds and starts the system information tool, or shows the "unavailable" message.
    void StartSysInfo();

    // Replaces those of the look-up, file test, launcher and message box that `deps` sets;
    // the others stay. The look-up must outlive the dialog.
    void SetSysInfoDeps(const SysInfoDeps& deps);

  private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    QLabel* picIcon_;
    QLabel* lblTitle_;
    QLabel* Label1_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
    SeparatorLine* Line1_0_;
    SeparatorLine* Line1_1_;
    QLabel* lblDisclaimer_;
    QPushButton* cmdOK_;
    QPushButton* cmdSysInfo_;

    std::unique_ptr<KeyLookup> systemLookup_;
    SysInfoDeps deps_;
};

// Opens the single About box: creates it when `instance` holds none, otherwise only brings the
// open one to the front. Never modal. Returns the dialog shown.
//
// The dialog is a window of its own, not a child of `owner`: the program ends when its last
// window closes, so an open About box keeps it running after the main window has closed. A new
// dialog opens centred over `owner` when one is given. Whoever keeps `instance` deletes a dialog
// still open when it goes away.
frmAbout* ShowAbout(const QWidget* owner, QPointer<frmAbout>& instance, const QIcon& icon);

}  // namespace ondrix::qt
