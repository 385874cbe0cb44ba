#pragma once
// The character popup: a small borderless window under the main window that
// shows the character under the mouse in the characters pane, its codes,
// radical, strokes, readings, variants and definition, and the dictionary
// entries of the words it forms with its neighbours. One instance,
// FormHanzi, lives for the whole run; it is shown and hidden, never freed.
#include <QWidget>

class QLabel;
class QPlainTextEdit;

class TFormHanzi : public QWidget {
    Q_OBJECT
public:
    explicit TFormHanzi(QWidget *parent = nullptr);

    // Places the popup against Main: just below it, or just above it when the
    // screen has no room below; its left edge on Main's.
    void SetPosition(QWidget *Main);
    // The same with the screen height given (the screen Main stands on).
    void SetPosition(const QRect &Main, int ScreenHeight);

    // Value labels.
    QLabel *lHanzi = nullptr;
    QLabel *luStrok = nullptr;
    QLabel *luMand = nullptr;
    QLabel *luTrad = nullptr;
    QLabel *lKodHex = nullptr;
    QLabel *lrRadCh = nullptr;
    QLabel *luRad = nullptr;
    QLabel *luSimp = nullptr;
    QLabel *lKodDec = nullptr;
    QLabel *luDef = nullptr;
    // The dictionary entries, one per line.
    QPlainTextEdit *TntMemo1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void FormCreate();
};

extern TFormHanzi *FormHanzi;
