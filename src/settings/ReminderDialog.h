#pragma once
// The reminder: at the main window's first activation, while the settings
// ask for it, it points the user to the home page for updates and lets the
// user switch it off for good. One instance lives for the
// whole run; it is shown modally.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace korvana {
class AboutLabel;
}

class ReminderDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReminderDialog(QWidget *parent = nullptr);

    void homePageLabelClicked(); // opens the home page
    // Closes the reminder; with the box checked it first writes "Show
    // Reminder" = 0 into the settings file. A write that fails is reported
    // and the reminder stays open.
    void closeButtonClicked();

    QLabel *infoPicture = nullptr;
    QLabel *headingLabel = nullptr, *messageLabel = nullptr, *homePageCaptionLabel = nullptr,
           *homePageOffersLabel = nullptr;
    korvana::AboutLabel *homePageLabel = nullptr;
    QCheckBox *dontShowAgainSwitch = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    void showEvent(QShowEvent *e) override;
};
