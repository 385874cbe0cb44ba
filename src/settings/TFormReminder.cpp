#include "settings/TFormReminder.h"

#include "platform/ui/Errors.h"
#include "settings/SettingsFile.h"
#include "settings/TFormAbout.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TFormReminder *FormReminder = nullptr;

TFormReminder::TFormReminder(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormReminder"));
    setWindowTitle(QStringLiteral("Korvana"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(333, 217);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Image1->setFixedSize(32, 32);

    Label1 = new QLabel(QStringLiteral("Important information"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = new QLabel(QStringLiteral("If you downloaded  this program from  a shareware directory, don't forget to "
                                       "check for update at the program homepage, the version you're using may be "
                                       "outdated!"),
                        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label4 = new QLabel(QStringLiteral("Homepage:"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label3 = new korvana::AboutLabel(korvana::ProgramLinks::homeHost(), this, true);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setStyleSheet(QStringLiteral("color: blue;"));
    Label5 = new QLabel(QStringLiteral("Upgrades, lessons, skins, information..."), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    CheckBox1 = new QCheckBox(QStringLiteral("Don't show this reminder again"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setFocusPolicy(Qt::ClickFocus);
    BitBtn1 = new QPushButton(QStringLiteral("Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFlat(true);
    BitBtn1->setStyleSheet(QStringLiteral("QPushButton { background: #8080FF; border: none; padding: 3px 16px; }"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(Label1, 0, 1, 1, 2);
    grid->addWidget(Label2, 1, 1, 1, 2);
    grid->addWidget(Label4, 2, 1);
    grid->addWidget(Label3, 2, 2);
    grid->addWidget(Label5, 3, 1, 1, 2);
    grid->addWidget(CheckBox1, 4, 1, 1, 2);
    grid->addWidget(BitBtn1, 5, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);

    connect(Label3, &korvana::AboutLabel::clicked, this, [this] { Label3Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TFormReminder::Label3Click()
{
    korvana::ShellOpen::open(QUrl(korvana::ProgramLinks::homePage()));
}

void TFormReminder::Button1Click()
{
    if (CheckBox1->isChecked()) {
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

void TFormReminder::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // Centred on the main window.
    if (QWidget *main = parentWidget() ? parentWidget() : QApplication::activeWindow())
        move(main->geometry().center() - rect().center());
}
