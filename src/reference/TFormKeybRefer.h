#pragma once
// The keyboard reference: a small frameless window listing the practice
// window's keys, parked at the top right corner of the screen and dragged
// anywhere by its text. The keys themselves are the main window's.
#include <QStringList>
#include <QWidget>

class QTextEdit;
class QToolButton;

// One instance, FormKeybRefer, lives for the whole run.
class TFormKeybRefer : public QWidget {
    Q_OBJECT
public:
    explicit TFormKeybRefer(QWidget *parent = nullptr);

    // The two columns, line for line: the commands and their keys.
    static QStringList commandLines();
    static QStringList keyLines();

    // Where the window is parked: 2 pixels below the top edge of `screen` and
    // 2 pixels short of its right edge.
    static QPoint parkedPosition(const QRect &screen, const QSize &size);

    // Handlers.
    void FormCreate();
    void ZacinaDrag(const QPoint &pos);                          // mouse down on a memo
    void BeziDrag(Qt::MouseButtons buttons, const QPoint &pos);  // mouse move on a memo
    void KonciDrag();                                            // mouse up on a memo
    void BitBtn2Click();                                         // the close button

    QTextEdit *Memo1 = nullptr;
    QTextEdit *Memo2 = nullptr;
    QToolButton *tbHideToolbar = nullptr;

    // The point, in the memo's coordinates, where the left button went down.
    int FDragX = 0;
    int FDragY = 0;
    bool m_systemMove = false; // the window system is moving the window

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void keepAboveMainWindow();
};

extern TFormKeybRefer *FormKeybRefer;
