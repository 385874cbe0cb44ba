#pragma once
#include <QWidget>

// Background window. One instance, FormBackground, lives for the whole run.
class TFormBackground : public QWidget {
    Q_OBJECT
public:
    explicit TFormBackground(QWidget *parent = nullptr);
};

extern TFormBackground *FormBackground;
