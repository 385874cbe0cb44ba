#pragma once
#include <QWidget>

// Keyboard reference window. One instance, FormKeybRefer, lives for the whole run.
class TFormKeybRefer : public QWidget {
    Q_OBJECT
public:
    explicit TFormKeybRefer(QWidget *parent = nullptr);
};

extern TFormKeybRefer *FormKeybRefer;
