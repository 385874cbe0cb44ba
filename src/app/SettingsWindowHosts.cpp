#include "app/SettingsWindowHosts.h"

#include "app/FlashRunner.h"
#include "app/MainWindow.h"
#include "app/OptionsRoundTrip.h"
#include "app/WindowSkin.h"
#include "settings/SkinDialog.h"

using korvana::Pane;

QString MainWindowAboutHost::skinName() const
{
    return m_window.skin().fields().skinName;
}

QString MainWindowAboutHost::skinAuthor() const
{
    return m_window.skin().fields().skinAuthor;
}

korvana::OptionsHost mainWindowOptionsHost(MainWindow &window)
{
    korvana::OptionsHost host;
    host.settings = &window.m_settings;
    window.m_flash->bindColors(host);
    host.charactersText = window.panes[Pane::Characters].text;
    host.screenBackgroundChanged = [&window](quint32 color) { window.options().applyScreenBackgroundColor(color); };
    return host;
}

void connectSkinDialog(SkinDialog &dialog, MainWindow &window)
{
    QObject::connect(&dialog, &SkinDialog::loadSkinRequested, &window,
                     [&window](const QString &n) { window.skin().load(n); });
}
