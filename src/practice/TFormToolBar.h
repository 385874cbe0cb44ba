#pragma once
#include <QWidget>

// Tool bar window. One instance, FormToolBar, lives for the whole run.
class TFormToolBar : public QWidget {
    Q_OBJECT
public:
    explicit TFormToolBar(QWidget *parent = nullptr);
};

extern TFormToolBar *FormToolBar;
