#pragma once
#include <QApplication>

namespace korvana {

// The application object. Qt does not carry exceptions through its event
// loop, so notify() is the program's safety net: an error that no handler
// caught is shown in a message box and the program goes on.
class KorvanaApplication : public QApplication {
public:
    KorvanaApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace korvana
