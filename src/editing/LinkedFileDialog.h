#pragma once
// The link dialog: a description and a file name for one linked reading
// file of a lesson. The lesson editor fills both edits, shows the dialog
// modally and takes the texts back when it ends with OK (1); Cancel and the
// Escape key end it with 2. OK is refused, with a short message, for a link
// the lesson could not read back as typed: an empty file name, or a quote
// that the linked-file line's reading would take as the end of a value. The
// file need not exist yet.
#include <QDialog>

class QLineEdit;
class QPushButton;

class LinkedFileDialog : public QDialog {
    Q_OBJECT
public:
    explicit LinkedFileDialog(QWidget *parent = nullptr);

    QLineEdit *descriptionEdit = nullptr; // "Description"
    QLineEdit *fileNameEdit = nullptr;    // "File"
    QPushButton *okButton = nullptr, *cancelButton = nullptr;

    // Why the texts cannot be stored as a link; empty when they can.
    QString linkProblem() const;
    void okButtonClicked();
    void cancelButtonClicked();
    // Whether the key ended the dialog (Escape).
    bool onKeyDown(int key);

protected:
    void keyPressEvent(QKeyEvent *e) override;
};
