#pragma once
// The flash window: a borderless window over the whole screen that shows the
// current term's characters in flashes and, after them, can stay open as a
// card with the translation, the pinyin and the notes.
//
// It lives for the whole run. Any key, mouse button or wheel turn closes it,
// and closing only hides it. While it shows, the mouse pointer is hidden and
// every key comes to it, so a key always closes it.
#include "lessons/Pane.h"
#include "platform/richtext/RichEdit.h"

#include <QColor>
#include <QWidget>

#include <array>

class QTextEdit;

class FlashWindow : public QWidget {
    Q_OBJECT
public:
    explicit FlashWindow(QWidget *parent = nullptr);
    ~FlashWindow() override;

    // The flashed characters (centred, read-only, no word wrap) and the
    // hidden staging copy they are prepared in.
    korvana::RichEdit *flashedText = nullptr, *stagingText = nullptr;
    QTextEdit *flashedView = nullptr, *stagingView = nullptr;
    // The card's strips, one for each pane but the characters: translation
    // and pinyin at the top, notes at the bottom, each at least StripHeight
    // high.
    struct Strip {
        korvana::Pane pane;
        korvana::RichEdit *text = nullptr;
        QTextEdit *view = nullptr;
    };
    std::array<Strip, 3> strips{{{korvana::Pane::Translation}, {korvana::Pane::Pinyin}, {korvana::Pane::Notes}}};
    // The strip of a pane; nullptr for the characters.
    const Strip *strip(korvana::Pane pane) const;
    static constexpr int StripHeight = 40;
    // Places the strips, each as high as its text needs.
    void layoutStrips();

    // The view showing one of the five edits (nullptr for another edit).
    QTextEdit *viewOf(const korvana::RichEdit *edit) const;
    // An edit's own background, and the window's.
    void setEditBackground(korvana::RichEdit *edit, const QColor &color);
    QColor editBackground(const korvana::RichEdit *edit) const;
    void setBackground(const QColor &color);
    QColor background() const;
    void setEditVisible(korvana::RichEdit *edit, bool visible);
    bool editVisible(const korvana::RichEdit *edit) const;
    // Where the flashed characters stand, in window coordinates.
    void placeFlash(const QRect &rect);
    // Above every other window, with the keyboard focus.
    void bringToFront();

    // Every input that closes the window: a key, a mouse button on the
    // window or any edit, a wheel turn.
    void flashedTextKeyPressed();
    void flashedTextMousePressed();
    void onWheel();

signals:
    // The window was closed (hidden). The main window ends its automatic
    // mode here when flash mode runs with it.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void onActivate();
    void hidePointer();
    void showPointer();

    bool m_pointerHidden = false;
    bool m_keyboardGrabbed = false;
};
