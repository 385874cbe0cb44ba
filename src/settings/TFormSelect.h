#pragma once
#include <QWidget>

// Skins window. One instance, FormSelect, lives for the whole run.
class TFormSelect : public QWidget {
    Q_OBJECT
public:
    explicit TFormSelect(QWidget *parent = nullptr);
};

extern TFormSelect *FormSelect;
