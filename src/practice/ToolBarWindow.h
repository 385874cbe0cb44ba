#pragma once
#include <QWidget>

#include <utility>
#include <vector>

class QToolButton;

namespace korvana {
struct MainSettings;
}

// The narrow floating tool bar that stands against the main window's side
// with buttons for frequent commands. One instance lives for
// the whole run; the main window shows it at start when "Display ToolBar"
// is set, and the menu and its own button hide it.
class ToolBarWindow : public QWidget {
    Q_OBJECT
public:
    // The bar stands against mainWidget; settings hold whether the bar and
    // the screen background are displayed.
    ToolBarWindow(korvana::MainSettings &settings, QWidget *mainWidget, QWidget *parent = nullptr);

    // Docks the tool bar beside the main window: on its right, one pixel
    // apart, when there is room for it before the screen's right edge, else
    // on its left; level with the main window's top.
    void dockToMainWindow();

    void onCreate();
    void onActivate();
    void onClose();
    void onClick();
    void onPaint();

    void hideToolBarButtonClicked();
    void openButtonClicked();
    void openSessionButtonClicked();
    void numbersButtonClicked();
    void screenBackgroundButtonClicked();
    void dictionaryButtonClicked();
    void readerButtonClicked();

    QToolButton *hideToolBarButton = nullptr;
    QToolButton *openButton = nullptr;
    QToolButton *openSessionButton = nullptr;
    QToolButton *numbersButton = nullptr;
    QToolButton *screenBackgroundButton = nullptr; // checked while the background shows
    QToolButton *dictionaryButton = nullptr;
    QToolButton *readerButton = nullptr;

    // Where the tool bar's left edge goes for a main window at mainLeft,
    // mainWidth wide on a screen screenWidth wide.
    static int dockedLeft(int mainLeft, int mainWidth, int screenWidth);

    // When set, the buttons get their pictures from the style when the bar
    // is first shown: the bar is hidden unless asked for, and the style's
    // pictures take a few milliseconds to look up while the program starts.
    static bool picturesWhenShown;

signals:
    // The commands the buttons ask of the main window.
    void openLessonRequested();
    void openSessionRequested();
    void numbersRequested();
    void screenBackgroundRequested();
    // The dictionary shown, or hidden when it shows; the reader shown.
    void dictionaryRequested();
    void readerRequested();

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

    korvana::MainSettings &m_settings;
    QWidget *m_mainWidget;

    // The buttons still waiting for their pictures, with the picture each shows.
    std::vector<std::pair<QToolButton *, int>> m_pendingPictures;
};
