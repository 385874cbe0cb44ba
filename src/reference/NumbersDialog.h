#pragma once
// The numbers drill's range dialog. One instance lives for the
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

class NumbersDialog : public QDialog {
    Q_OBJECT
public:
    explicit NumbersDialog(QWidget *parent = nullptr);

    // The fields "start" and "stop" write: the drill's switch and its range
    // (From inclusive, To exclusive). Unbound, the buttons only close.
    void bind(bool *numbersMode, int *numberFrom, int *numberTo);
    // Places the dialog in the middle of owner.
    void centreOn(const QWidget *owner);

    QRadioButton *hundredOption = nullptr;     // "1-100"
    QRadioButton *thousandOption = nullptr;    // "1-1000"
    QRadioButton *tenThousandOption = nullptr; // "1-10 000"
    QRadioButton *customOption = nullptr;      // the two edits' range
    QLineEdit *fromEdit = nullptr;
    QLineEdit *toEdit = nullptr;
    QLabel *fromLabel = nullptr;        // "From", the label of fromEdit
    QLabel *toLabel = nullptr;          // "To"
    QToolButton *startButton = nullptr; // "start"
    QToolButton *stopButton = nullptr;  // "stop"

    void startButtonClicked();
    void stopButtonClicked();
    // Any key in either edit chooses the custom range.
    void fromEditKeyPressed();
    // Escape closes the dialog and changes nothing.
    void onKeyDown(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool *m_mode = nullptr;
    int *m_from = nullptr;
    int *m_to = nullptr;
};
