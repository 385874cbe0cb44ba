#include "editing/TFormTermsManager.h"

TFormTermsManager *FormTermsManager = nullptr;

TFormTermsManager::TFormTermsManager(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormTermsManager"));
    setWindowTitle(QStringLiteral("Terms manager"));
}
