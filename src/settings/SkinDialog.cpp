#include "settings/SkinDialog.h"

#include "settings/MainSettings.h"
#include "settings/Skin.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SkinDialog::SkinDialog(korvana::MainSettings &settings, QWidget *mainWidget, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("skinDialog"));
    setWindowTitle(QStringLiteral("Select Skin"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    skinList = new QListWidget(this);
    skinList->setObjectName(QStringLiteral("skinList"));
    skinList->setSortingEnabled(false); // skinNames() gives the sorted order
    applyButton = new QPushButton(QStringLiteral("apply"), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    applyButton->setAutoDefault(false);
    closeButton = new QPushButton(QStringLiteral("close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(applyButton);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(skinList);
    layout->addLayout(buttons);
    resize(220, 260);
    setFixedSize(size());

    connect(applyButton, &QPushButton::clicked, this, [this] { applyButtonClicked(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeButtonClicked(); });
    connect(skinList, &QListWidget::itemDoubleClicked, this, [this] { skinListDoubleClicked(); });
}

void SkinDialog::onActivate()
{
    skinList->clear();
    skinList->addItems(korvana::skinNames());
    skinList->setCurrentRow(-1);
    skinList->clearSelection();
}

void SkinDialog::applyButtonClicked()
{
    QListWidgetItem *item = skinList->currentItem();
    if (!item || !item->isSelected())
        return;
    // Stored before loading: a skin that fails to load is still the one the
    // settings name.
    m_settings.selectedSkin = item->text();
    emit loadSkinRequested(m_settings.selectedSkin);
}

void SkinDialog::skinListDoubleClicked()
{
    applyButtonClicked();
}

void SkinDialog::closeButtonClicked()
{
    close();
}

void SkinDialog::onKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

bool SkinDialog::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return handled;
}

void SkinDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    move(m_mainWidget->geometry().center() - rect().center());
    // Shown again after a skin folder was added: the list is fresh even when
    // the platform does not activate the window.
    onActivate();
}

void SkinDialog::keyPressEvent(QKeyEvent *e)
{
    onKeyDown(e->key());
    if (e->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(e);
}
