#include "settings/TFormAbout.h"

TFormAbout *FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About"));
}
