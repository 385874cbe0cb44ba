#pragma once
#include <QWidget>

// The window that stands on the screen while the program starts. runProgram
// creates and frees it; it has no global instance.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);
};
