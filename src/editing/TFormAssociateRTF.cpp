#include "editing/TFormAssociateRTF.h"

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

void TFormAssociateRTF::bOKClick() { done(1); }

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
