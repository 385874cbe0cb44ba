#include "editing/LinkedFileDialog.h"
#include "lessons/LinkedFiles.h"
#include "platform/ui/Dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LinkedFileDialog::LinkedFileDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("linkedFileDialog"));
    setWindowTitle(QStringLiteral("Link RTF File"));
    setFixedSize(269, 171);

    auto *grid = new QGridLayout(this);
    descriptionEdit = new QLineEdit(this);
    descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    fileNameEdit = new QLineEdit(this);
    fileNameEdit->setObjectName(QStringLiteral("fileNameEdit"));
    auto *descriptionCaption = new QLabel(QStringLiteral("Description"), this);
    descriptionCaption->setBuddy(descriptionEdit);
    auto *fileCaption = new QLabel(QStringLiteral("File"), this);
    fileCaption->setBuddy(fileNameEdit);
    grid->addWidget(descriptionCaption, 0, 0);
    grid->addWidget(descriptionEdit, 1, 0);
    grid->addWidget(fileCaption, 2, 0);
    grid->addWidget(fileNameEdit, 3, 0);

    auto *buttons = new QHBoxLayout;
    okButton = new QPushButton(QStringLiteral("ok"), this);
    okButton->setFlat(true);
    cancelButton = new QPushButton(QStringLiteral("cancel"), this);
    cancelButton->setFlat(true);
    // Enter in an edit must not end the dialog by itself: only the buttons do.
    okButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    grid->addLayout(buttons, 4, 0);
    setTabOrder(descriptionEdit, fileNameEdit);

    connect(okButton, &QPushButton::clicked, this, [this] { okButtonClicked(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelButtonClicked(); });
}

QString LinkedFileDialog::linkProblem() const
{
    const QString file = fileNameEdit->text();
    const QString description = descriptionEdit->text();
    if (file.trimmed().isEmpty())
        return QStringLiteral("Enter the name of the file to link");
    // The line is read back by the rule every lesson is read by.
    const QString line = korvana::parLine(file, description);
    const QString why = QStringLiteral(" cannot be stored as typed: it may not begin with a blank, nor hold a double "
                                       "quote followed by a blank or \">\"");
    if (korvana::linkedFileAttribute(line, QStringLiteral("file")) != file)
        return QStringLiteral("The file name") + why;
    if (korvana::linkedFileAttribute(line, QStringLiteral("description")) != description)
        return QStringLiteral("The description") + why;
    return QString();
}

void LinkedFileDialog::okButtonClicked()
{
    const QString problem = linkProblem();
    if (!problem.isEmpty()) {
        korvana::Dialogs::instance().message(this, problem, korvana::MsgButtons::Ok, korvana::MsgIcon::Warning);
        return;
    }
    done(1);
}

void LinkedFileDialog::cancelButtonClicked()
{
    done(2);
}

bool LinkedFileDialog::onKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    done(2);
    return true;
}

void LinkedFileDialog::keyPressEvent(QKeyEvent *e)
{
    if (onKeyDown(e->key()))
        return;
    QDialog::keyPressEvent(e);
}
