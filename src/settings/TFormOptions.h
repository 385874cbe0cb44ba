#pragma once
#include <QDialog>
#include <QComboBox>

// Options window. One instance, FormOptions, lives for the whole run.
class TFormOptions : public QDialog {
    Q_OBJECT
public:
    explicit TFormOptions(QWidget *parent = nullptr);

    // The installed speech voices, filled at the main window's first
    // activation; each item's data is the index of its voice token.
    QComboBox *cbVoices;
};

extern TFormOptions *FormOptions;
