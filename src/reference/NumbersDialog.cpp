#include "reference/NumbersDialog.h"
#include "reference/Numbers.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The modal results the program's small dialogs end with.
constexpr int ResultOk = 1;
constexpr int ResultCancel = 2;
} // namespace

NumbersDialog::NumbersDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("numbersDialog"));
    setWindowTitle(QStringLiteral("Numbers"));
    // A fixed dialog border: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto radio = [this](QRadioButton *&b, const QString &name, const QString &text) {
        b = new QRadioButton(text, this);
        b->setObjectName(name);
    };
    radio(hundredOption, QStringLiteral("hundredOption"), QStringLiteral("1-100"));
    radio(thousandOption, QStringLiteral("thousandOption"), QStringLiteral("1-1000"));
    radio(tenThousandOption, QStringLiteral("tenThousandOption"), QStringLiteral("1-10 000"));
    radio(customOption, QStringLiteral("customOption"), QString());
    hundredOption->setChecked(true);

    auto edit = [this](QLineEdit *&e, QLabel *&l, const QString &name, const QString &caption) {
        e = new QLineEdit(this);
        e->setObjectName(name);
        e->installEventFilter(this);
        l = new QLabel(caption, this);
        l->setBuddy(e);
    };
    edit(fromEdit, fromLabel, QStringLiteral("fromEdit"), QStringLiteral("From"));
    edit(toEdit, toLabel, QStringLiteral("toEdit"), QStringLiteral("To"));

    auto button = [this](QToolButton *&b, const QString &name, const QString &text) {
        b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setAutoRaise(true);
    };
    button(startButton, QStringLiteral("startButton"), QStringLiteral("start"));
    button(stopButton, QStringLiteral("stopButton"), QStringLiteral("stop"));
    connect(startButton, &QToolButton::clicked, this, [this] { startButtonClicked(); });
    connect(stopButton, &QToolButton::clicked, this, [this] { stopButtonClicked(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hundredOption);
    layout->addWidget(thousandOption);
    layout->addWidget(tenThousandOption);
    auto *custom = new QGridLayout;
    custom->addWidget(customOption, 0, 0);
    custom->addWidget(fromLabel, 0, 1);
    custom->addWidget(fromEdit, 0, 2);
    custom->addWidget(toLabel, 0, 3);
    custom->addWidget(toEdit, 0, 4);
    layout->addLayout(custom);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    buttons->addWidget(stopButton);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void NumbersDialog::bind(bool *numbersMode, int *numberFrom, int *numberTo)
{
    m_mode = numbersMode;
    m_from = numberFrom;
    m_to = numberTo;
}

void NumbersDialog::centreOn(const QWidget *owner)
{
    if (!owner)
        return;
    adjustSize();
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
}

void NumbersDialog::startButtonClicked()
{
    korvana::NumberPreset preset = korvana::NumberPreset::Custom;
    if (hundredOption->isChecked())
        preset = korvana::NumberPreset::Hundred;
    else if (thousandOption->isChecked())
        preset = korvana::NumberPreset::Thousand;
    else if (tenThousandOption->isChecked())
        preset = korvana::NumberPreset::TenThousand;
    const korvana::NumberRange range = korvana::numberRange(preset, fromEdit->text(), toEdit->text());
    if (m_mode)
        *m_mode = true;
    if (m_from)
        *m_from = range.from;
    if (m_to)
        *m_to = range.to;
    done(ResultOk);
}

void NumbersDialog::stopButtonClicked()
{
    if (m_mode)
        *m_mode = false;
    done(ResultCancel);
}

void NumbersDialog::fromEditKeyPressed()
{
    customOption->setChecked(true);
}

void NumbersDialog::onKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        done(ResultCancel);
}

bool NumbersDialog::eventFilter(QObject *watched, QEvent *e)
{
    if ((watched == fromEdit || watched == toEdit) && e->type() == QEvent::KeyPress) {
        // The dialog sees the key first, as it previews every key.
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() == Qt::Key_Escape) {
            onKeyDown(key->key());
            return true;
        }
        fromEditKeyPressed();
    }
    return QDialog::eventFilter(watched, e);
}

void NumbersDialog::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        onKeyDown(e->key());
        return;
    }
    QDialog::keyPressEvent(e);
}
