#pragma once
#include <QWidget>

// Lesson editor window. One instance, FormEditor, lives for the whole run.
class TFormEditor : public QWidget {
    Q_OBJECT
public:
    explicit TFormEditor(QWidget *parent = nullptr);
};

extern TFormEditor *FormEditor;
