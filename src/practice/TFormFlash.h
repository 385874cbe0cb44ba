#pragma once
#include <QWidget>

// Flash window. One instance, FormFlash, lives for the whole run.
class TFormFlash : public QWidget {
    Q_OBJECT
public:
    explicit TFormFlash(QWidget *parent = nullptr);
};

extern TFormFlash *FormFlash;
