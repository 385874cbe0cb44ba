#pragma once
#include <QWidget>

// Dictionary window. One instance, FormDict, lives for the whole run.
class TFormDict : public QWidget {
    Q_OBJECT
public:
    explicit TFormDict(QWidget *parent = nullptr);
};

extern TFormDict *FormDict;
