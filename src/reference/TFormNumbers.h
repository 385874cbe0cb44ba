#pragma once
// The numbers drill's range dialog. One instance, FormNumbers, lives for the
// whole run and keeps its choice between showings.
//
// "start" switches the drill on with the chosen range, "stop" switches it
// off, Escape closes the dialog and changes nothing. The dialog writes the
// drill's switch and range straight into the fields it is bound to (the main
// window's), so whoever shows it need not look at how it was closed.
#include <QDialog>

class QLineEdit;
class QLabel;
class QRadioButton;
class QToolButton;

class TFormNumbers : public QDialog {
    Q_OBJECT
public:
    explicit TFormNumbers(QWidget *parent = nullptr);

    // The fields "start" and "stop" write: the drill's switch and its range
    // (From inclusive, To exclusive). Unbound, the buttons only close.
    void bind(bool *numbersMode, int *numberFrom, int *numberTo);
    // Places the dialog in the middle of Owner.
    void centreOn(const QWidget *owner);

    QRadioButton *rbn1 = nullptr;      // "1-100"
    QRadioButton *rbn2 = nullptr;      // "1-1000"
    QRadioButton *rbn3 = nullptr;      // "1-10 000"
    QRadioButton *rbnCustom = nullptr; // the two edits' range
    QLineEdit *eNrFrom = nullptr;
    QLineEdit *eNrTo = nullptr;
    QLabel *lblFrom = nullptr;         // "From", the label of eNrFrom
    QLabel *lblTo = nullptr;           // "To"
    QToolButton *bOK = nullptr;        // "start"
    QToolButton *bCancel = nullptr;    // "stop"

    void bOKClick();
    void bCancelClick();
    // Any key in either edit chooses the custom range.
    void eNrFromKeyDown();
    // Escape closes the dialog and changes nothing.
    void FormKeyDown(int Key);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool *m_mode = nullptr;
    int *m_from = nullptr;
    int *m_to = nullptr;
};

extern TFormNumbers *FormNumbers;
