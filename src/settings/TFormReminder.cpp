#include "settings/TFormReminder.h"

TFormReminder *FormReminder = nullptr;

TFormReminder::TFormReminder(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormReminder"));
    setWindowTitle(QStringLiteral("Reminder"));
}
