#pragma once
#include <QDialog>

// Linked file window. One instance, FormAssociateRTF, lives for the whole run.
class TFormAssociateRTF : public QDialog {
    Q_OBJECT
public:
    explicit TFormAssociateRTF(QWidget *parent = nullptr);
};

extern TFormAssociateRTF *FormAssociateRTF;
