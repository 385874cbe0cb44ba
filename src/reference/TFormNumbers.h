#pragma once
#include <QDialog>

// Numbers range window. One instance, FormNumbers, lives for the whole run.
class TFormNumbers : public QDialog {
    Q_OBJECT
public:
    explicit TFormNumbers(QWidget *parent = nullptr);
};

extern TFormNumbers *FormNumbers;
