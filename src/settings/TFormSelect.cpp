#include "settings/TFormSelect.h"

TFormSelect *FormSelect = nullptr;

TFormSelect::TFormSelect(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormSelect"));
    setWindowTitle(QStringLiteral("Skins"));
}
