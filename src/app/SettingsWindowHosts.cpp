#include "app/SettingsWindowHosts.h"

#include "app/MainWindow.h"
#include "settings/SkinDialog.h"

QString MainWindowAboutHost::skinName() const
{
    return m_window.skinName;
}

QString MainWindowAboutHost::skinAuthor() const
{
    return m_window.skinAuthor;
}

void connectSkinDialog(SkinDialog &dialog, MainWindow &window)
{
    QObject::connect(&dialog, &SkinDialog::loadSkinRequested, &window, &MainWindow::loadSkinIntoWindow);
}
