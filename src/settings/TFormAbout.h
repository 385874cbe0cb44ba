#pragma once
#include <QDialog>

// About window. One instance, FormAbout, lives for the whole run.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);
};

extern TFormAbout *FormAbout;
