#pragma once
#include <QDialog>

// Reminder window. One instance, FormReminder, lives for the whole run.
class TFormReminder : public QDialog {
    Q_OBJECT
public:
    explicit TFormReminder(QWidget *parent = nullptr);
};

extern TFormReminder *FormReminder;
