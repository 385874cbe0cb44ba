#pragma once
// The link dialog: a description and a file name for one linked reading
// file of a lesson. The lesson editor fills both edits, shows the dialog
// modally and takes the texts back when it ends with OK (1); Cancel and the
// Escape key end it with 2. Neither text is checked: a link may name a file
// that does not exist yet.
#include <QDialog>

class QLineEdit;
class QPushButton;

class TFormAssociateRTF : public QDialog {
    Q_OBJECT
public:
    explicit TFormAssociateRTF(QWidget *parent = nullptr);

    QLineEdit *ePopis = nullptr;    // "Description"
    QLineEdit *eFileName = nullptr; // "File"
    QPushButton *bOK = nullptr, *bCancel = nullptr;

    void bOKClick();
    void bCancelClick();
    // Whether the key ended the dialog (Escape).
    bool FormKeyDown(int Key);

protected:
    void keyPressEvent(QKeyEvent *e) override;
};

extern TFormAssociateRTF *FormAssociateRTF;
