#include "editing/TFormAssociateRTF.h"
#include "lessons/LinkedFiles.h"
#include "platform/ui/Dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormAssociateRTF *FormAssociateRTF = nullptr;

TFormAssociateRTF::TFormAssociateRTF(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAssociateRTF"));
    setWindowTitle(QStringLiteral("Link RTF File"));
    setFixedSize(269, 171);

    auto *grid = new QGridLayout(this);
    ePopis = new QLineEdit(this);
    ePopis->setObjectName(QStringLiteral("ePopis"));
    eFileName = new QLineEdit(this);
    eFileName->setObjectName(QStringLiteral("eFileName"));
    auto *lPopis = new QLabel(QStringLiteral("Description"), this);
    lPopis->setBuddy(ePopis);
    auto *lFile = new QLabel(QStringLiteral("File"), this);
    lFile->setBuddy(eFileName);
    grid->addWidget(lPopis, 0, 0);
    grid->addWidget(ePopis, 1, 0);
    grid->addWidget(lFile, 2, 0);
    grid->addWidget(eFileName, 3, 0);

    auto *buttons = new QHBoxLayout;
    bOK = new QPushButton(QStringLiteral("ok"), this);
    bOK->setFlat(true);
    bCancel = new QPushButton(QStringLiteral("cancel"), this);
    bCancel->setFlat(true);
    // Enter in an edit must not end the dialog by itself: only the buttons do.
    bOK->setAutoDefault(false);
    bCancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(bOK);
    buttons->addWidget(bCancel);
    grid->addLayout(buttons, 4, 0);
    setTabOrder(ePopis, eFileName);

    connect(bOK, &QPushButton::clicked, this, [this] { bOKClick(); });
    connect(bCancel, &QPushButton::clicked, this, [this] { bCancelClick(); });
}

QString TFormAssociateRTF::linkProblem() const
{
    const QString file = eFileName->text();
    const QString description = ePopis->text();
    if (file.trimmed().isEmpty())
        return QStringLiteral("Enter the name of the file to link");
    // The line is read back by the rule every lesson is read by.
    const QString line = korvana::parLine(file, description);
    const QString why = QStringLiteral(" cannot be stored as typed: it may not begin with a blank, nor hold a double "
                                       "quote followed by a blank or \">\"");
    if (korvana::GetParAttribute(line, QStringLiteral("file")) != file)
        return QStringLiteral("The file name") + why;
    if (korvana::GetParAttribute(line, QStringLiteral("description")) != description)
        return QStringLiteral("The description") + why;
    return QString();
}

void TFormAssociateRTF::bOKClick()
{
    const QString problem = linkProblem();
    if (!problem.isEmpty()) {
        korvana::Dialogs::instance().message(this, problem, korvana::MsgButtons::Ok, korvana::MsgIcon::Warning);
        return;
    }
    done(1);
}

void TFormAssociateRTF::bCancelClick() { done(2); }

bool TFormAssociateRTF::FormKeyDown(int Key)
{
    if (Key != Qt::Key_Escape)
        return false;
    done(2);
    return true;
}

void TFormAssociateRTF::keyPressEvent(QKeyEvent *e)
{
    if (FormKeyDown(e->key()))
        return;
    QDialog::keyPressEvent(e);
}
