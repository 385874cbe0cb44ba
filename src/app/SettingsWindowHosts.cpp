#include "app/SettingsWindowHosts.h"

#include "app/MainWindow.h"

QString MainWindowAboutHost::skinName() const
{
    return m_window.skinName;
}

QString MainWindowAboutHost::skinAuthor() const
{
    return m_window.skinAuthor;
}
