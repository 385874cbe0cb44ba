#include "app/SettingsWindowHosts.h"

#include "app/MainWindow.h"
#include "app/FlashRunner.h"
#include "settings/SkinDialog.h"

QString MainWindowAboutHost::skinName() const
{
    return m_window.skinName();
}

QString MainWindowAboutHost::skinAuthor() const
{
    return m_window.skinAuthor();
}

korvana::OptionsHost mainWindowOptionsHost(MainWindow &window)
{
    korvana::OptionsHost host;
    host.settings = &window.settings;
    window.m_flash->bindColors(host);
    host.charactersText = window.charactersText;
    host.screenBackgroundChanged = [&window](quint32 Color) { window.applyScreenBackgroundColor(Color); };
    return host;
}

void connectSkinDialog(SkinDialog &dialog, MainWindow &window)
{
    QObject::connect(&dialog, &SkinDialog::loadSkinRequested, &window, &MainWindow::loadSkinIntoWindow);
}
