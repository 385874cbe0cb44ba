#include "settings/TFormSelect.h"

#include "app/TForm1.h"
#include "settings/Skin.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFormSelect *FormSelect = nullptr;

TFormSelect::TFormSelect(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelect"));
    setWindowTitle(QStringLiteral("Select Skin"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSortingEnabled(false); // skinNames() gives the sorted order
    bOK = new QPushButton(QStringLiteral("apply"), this);
    bOK->setObjectName(QStringLiteral("bOK"));
    bOK->setAutoDefault(false);
    bCancel = new QPushButton(QStringLiteral("close"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    bCancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bOK);
    buttons->addWidget(bCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListBox1);
    layout->addLayout(buttons);
    resize(220, 260);
    setFixedSize(size());

    connect(bOK, &QPushButton::clicked, this, [this] { bOKClick(); });
    connect(bCancel, &QPushButton::clicked, this, [this] { bCancelClick(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
}

void TFormSelect::LoadSkin(const QString &N, TForm1 *Form)
{
    if (!Form)
        Form = Form1;
    if (Form)
        Form->loadSkinIntoWindow(N);
}

void TFormSelect::ApplySkin(TForm1 *Form)
{
    if (!Form)
        Form = Form1;
    if (Form)
        Form->ApplySkin();
}

void TFormSelect::FormActivate()
{
    ListBox1->clear();
    ListBox1->addItems(korvana::skinNames());
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
}

void TFormSelect::bOKClick()
{
    QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected() || !Form1)
        return;
    // Stored before loading: a skin that fails to load is still the one the
    // settings name.
    Form1->FSkin = item->text();
    LoadSkin(Form1->FSkin);
}

void TFormSelect::ListBox1DblClick()
{
    bOKClick();
}

void TFormSelect::bCancelClick()
{
    close();
}

void TFormSelect::FormKeyDown(int Key)
{
    if (Key == Qt::Key_Escape)
        close();
}

bool TFormSelect::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TFormSelect::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (Form1)
        move(Form1->geometry().center() - rect().center());
    // Shown again after a skin folder was added: the list is fresh even when
    // the platform does not activate the window.
    FormActivate();
}

void TFormSelect::keyPressEvent(QKeyEvent *e)
{
    FormKeyDown(e->key());
    if (e->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(e);
}
