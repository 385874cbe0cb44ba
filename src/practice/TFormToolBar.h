#pragma once
#include <QWidget>

class QToolButton;

// The narrow floating tool bar that stands against the main window's side
// with buttons for frequent commands. One instance, FormToolBar, lives for
// the whole run; the main window shows it at start when "Display ToolBar"
// is set, and the menu and its own button hide it.
class TFormToolBar : public QWidget {
    Q_OBJECT
public:
    explicit TFormToolBar(QWidget *parent = nullptr);

    // Docks the tool bar beside the main window: on its right, one pixel
    // apart, when there is room for it before the screen's right edge, else
    // on its left; level with the main window's top.
    void SetPosition();

    void FormCreate();
    void FormActivate();
    void FormClose();
    void FormClick();
    void FormPaint();

    void tbHideToolbarClick();
    void tbOpenClick();
    void tbOpenSessionClick();
    void tbNumbersClick();
    void tbBackgroundClick();
    void tbDictClick();
    void tbReaderClick();

    QToolButton *tbHideToolbar = nullptr;
    QToolButton *tbOpen = nullptr;
    QToolButton *tbOpenSession = nullptr;
    QToolButton *tbNumbers = nullptr;
    QToolButton *tbBackground = nullptr; // checked while the background shows
    QToolButton *tbDict = nullptr;
    QToolButton *tbReader = nullptr;

    // Where the tool bar's left edge goes for a main window at MainLeft,
    // MainWidth on a screen ScreenWidth wide.
    static int dockedLeft(int MainLeft, int MainWidth, int ScreenWidth);

protected:
    bool event(QEvent *e) override;
    void closeEvent(class QCloseEvent *e) override;
    void mousePressEvent(class QMouseEvent *e) override;
    void paintEvent(class QPaintEvent *e) override;
    void resizeEvent(class QResizeEvent *e) override;
    void showEvent(class QShowEvent *e) override;

private:
    QToolButton *makeButton(const char *name, int y, const QString &hint, int picture);
    void focusMainWindow();
};

extern TFormToolBar *FormToolBar;
