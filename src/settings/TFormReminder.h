#pragma once
// The reminder: at the main window's first activation, while the settings
// ask for it, it points the user to the home page for updates and lets the
// user switch it off for good. One instance, FormReminder, lives for the
// whole run; it is shown modally.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace korvana {
class AboutLabel;
}

class TFormReminder : public QDialog {
    Q_OBJECT
public:
    explicit TFormReminder(QWidget *parent = nullptr);

    void Label3Click(); // opens the home page
    // Closes the reminder; with the box checked it first writes "Show
    // Reminder" = 0 into the settings file. A write that fails is reported
    // and the reminder stays open.
    void Button1Click();

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    korvana::AboutLabel *Label3 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;

protected:
    void showEvent(QShowEvent *e) override;
};

extern TFormReminder *FormReminder;
