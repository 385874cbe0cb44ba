#pragma once
#include <QWidget>

// Picture window. One instance, formPicture, lives for the whole run.
class TformPicture : public QWidget {
    Q_OBJECT
public:
    explicit TformPicture(QWidget *parent = nullptr);
};

extern TformPicture *formPicture;
