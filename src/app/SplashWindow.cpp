#include "app/SplashWindow.h"

#include <QLabel>
#include <QVBoxLayout>

SplashWindow::SplashWindow(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("splashWindow"));
    auto *layout = new QVBoxLayout(this);
    auto *picture = new QLabel(this);
    picture->setAlignment(Qt::AlignCenter);
    picture->setText(QStringLiteral("<div style='font-size:28pt;font-weight:bold;color:#800000'>Korvana</div>"
                                    "<div style='font-size:14pt'>\u5b66\u4e60\u6c49\u8bed</div>"));
    picture->setMinimumSize(320, 180);
    picture->setStyleSheet(QStringLiteral("background:#FFFBF0;border:2px solid #800000"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
}
