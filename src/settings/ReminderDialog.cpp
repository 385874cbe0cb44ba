#include "settings/ReminderDialog.h"

#include "platform/ui/Errors.h"
#include "settings/AboutDialog.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

ReminderDialog::ReminderDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("reminderDialog"));
    setWindowTitle(QStringLiteral("Korvana"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(333, 217);

    infoPicture = new QLabel(this);
    infoPicture->setObjectName(QStringLiteral("infoPicture"));
    infoPicture->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    infoPicture->setFixedSize(32, 32);

    headingLabel = new QLabel(QStringLiteral("Important information"), this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    QFont bold = headingLabel->font();
    bold.setBold(true);
    headingLabel->setFont(bold);
    messageLabel =
        new QLabel(QStringLiteral("If you downloaded  this program from  a shareware directory, don't forget to "
                                  "check for update at the program homepage, the version you're using may be "
                                  "outdated!"),
                   this);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);
    homePageCaptionLabel = new QLabel(QStringLiteral("Homepage:"), this);
    homePageCaptionLabel->setObjectName(QStringLiteral("homePageCaptionLabel"));
    homePageLabel = new korvana::AboutLabel(korvana::ProgramLinks::homeHost(), this, true);
    homePageLabel->setObjectName(QStringLiteral("homePageLabel"));
    homePageLabel->setStyleSheet(QStringLiteral("color: blue;"));
    homePageOffersLabel = new QLabel(QStringLiteral("Upgrades, lessons, skins, information..."), this);
    homePageOffersLabel->setObjectName(QStringLiteral("homePageOffersLabel"));
    dontShowAgainSwitch = new QCheckBox(QStringLiteral("Don't show this reminder again"), this);
    dontShowAgainSwitch->setObjectName(QStringLiteral("dontShowAgainSwitch"));
    dontShowAgainSwitch->setFocusPolicy(Qt::ClickFocus);
    closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setFlat(true);
    closeButton->setStyleSheet(QStringLiteral("QPushButton { background: #8080FF; border: none; padding: 3px 16px; }"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(infoPicture, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(headingLabel, 0, 1, 1, 2);
    grid->addWidget(messageLabel, 1, 1, 1, 2);
    grid->addWidget(homePageCaptionLabel, 2, 1);
    grid->addWidget(homePageLabel, 2, 2);
    grid->addWidget(homePageOffersLabel, 3, 1, 1, 2);
    grid->addWidget(dontShowAgainSwitch, 4, 1, 1, 2);
    grid->addWidget(closeButton, 5, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);

    connect(homePageLabel, &korvana::AboutLabel::clicked, this, [this] { homePageLabelClicked(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeButtonClicked(); });
}

void ReminderDialog::homePageLabelClicked()
{
    korvana::ShellOpen::open(QUrl(korvana::ProgramLinks::homePage()));
}

void ReminderDialog::closeButtonClicked()
{
    if (dontShowAgainSwitch->isChecked()) {
        try {
            korvana::SettingsFile::setShowReminder(false);
        } catch (const std::exception &e) {
            // The user may try again or close the window another way.
            korvana::reportUnhandledError(korvana::errorText(e));
            return;
        }
    }
    close();
}

void ReminderDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // Centred on the main window.
    if (QWidget *main = parentWidget() ? parentWidget() : QApplication::activeWindow())
        move(main->geometry().center() - rect().center());
}
