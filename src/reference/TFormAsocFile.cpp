#include "reference/TFormAsocFile.h"

TFormAsocFile *FormAsocFile = nullptr;

TFormAsocFile::TFormAsocFile(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormAsocFile"));
    setWindowTitle(QStringLiteral("Reader"));
}
