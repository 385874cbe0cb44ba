#pragma once
#include <QWidget>

// Character information window. One instance, FormHanzi, lives for the whole run.
class TFormHanzi : public QWidget {
    Q_OBJECT
public:
    explicit TFormHanzi(QWidget *parent = nullptr);
};

extern TFormHanzi *FormHanzi;
