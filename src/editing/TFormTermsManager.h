#pragma once
#include <QDialog>

// Terms manager window. One instance, FormTermsManager, lives for the whole run.
class TFormTermsManager : public QDialog {
    Q_OBJECT
public:
    explicit TFormTermsManager(QWidget *parent = nullptr);
};

extern TFormTermsManager *FormTermsManager;
