#include "reference/TFormNumbers.h"

TFormNumbers *FormNumbers = nullptr;

TFormNumbers::TFormNumbers(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormNumbers"));
    setWindowTitle(QStringLiteral("Numbers range"));
}
