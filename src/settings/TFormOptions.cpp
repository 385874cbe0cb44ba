#include "settings/TFormOptions.h"

TFormOptions *FormOptions = nullptr;

TFormOptions::TFormOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Options"));
    cbVoices = new QComboBox(this);
    cbVoices->setObjectName(QStringLiteral("cbVoices"));
}
