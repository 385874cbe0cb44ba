#include "app/KorvanaApplication.h"
#include <QMainWindow>

int main(int argc, char **argv)
{
    korvana::KorvanaApplication app(argc, argv);
    QMainWindow w;
    w.show();
    return app.exec();
}
