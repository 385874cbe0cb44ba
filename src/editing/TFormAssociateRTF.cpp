#include "editing/TFormAssociateRTF.h"

TFormAssociateRTF *FormAssociateRTF = nullptr;

TFormAssociateRTF::TFormAssociateRTF(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAssociateRTF"));
    setWindowTitle(QStringLiteral("Linked file"));
}
