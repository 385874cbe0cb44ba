#include "reference/TFormNumbers.h"
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

TFormNumbers *FormNumbers = nullptr;

namespace {
// The modal results the program's small dialogs end with.
constexpr int ResultOk = 1;
constexpr int ResultCancel = 2;
} // namespace

TFormNumbers::TFormNumbers(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormNumbers"));
    setWindowTitle(QStringLiteral("Numbers"));
    // A fixed dialog border: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);

    auto radio = [this](QRadioButton *&b, const QString &name, const QString &text) {
        b = new QRadioButton(text, this);
        b->setObjectName(name);
    };
    radio(rbn1, QStringLiteral("rbn1"), QStringLiteral("1-100"));
    radio(rbn2, QStringLiteral("rbn2"), QStringLiteral("1-1000"));
    radio(rbn3, QStringLiteral("rbn3"), QStringLiteral("1-10 000"));
    radio(rbnCustom, QStringLiteral("rbnCustom"), QString());
    rbn1->setChecked(true);

    auto edit = [this](QLineEdit *&e, QLabel *&l, const QString &name, const QString &caption) {
        e = new QLineEdit(this);
        e->setObjectName(name);
        e->installEventFilter(this);
        l = new QLabel(caption, this);
        l->setBuddy(e);
    };
    edit(eNrFrom, lblFrom, QStringLiteral("eNrFrom"), QStringLiteral("From"));
    edit(eNrTo, lblTo, QStringLiteral("eNrTo"), QStringLiteral("To"));

    auto button = [this](QToolButton *&b, const QString &name, const QString &text) {
        b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setAutoRaise(true);
    };
    button(bOK, QStringLiteral("bOK"), QStringLiteral("start"));
    button(bCancel, QStringLiteral("bCancel"), QStringLiteral("stop"));
    connect(bOK, &QToolButton::clicked, this, [this] { bOKClick(); });
    connect(bCancel, &QToolButton::clicked, this, [this] { bCancelClick(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rbn1);
    layout->addWidget(rbn2);
    layout->addWidget(rbn3);
    auto *custom = new QGridLayout;
    custom->addWidget(rbnCustom, 0, 0);
    custom->addWidget(lblFrom, 0, 1);
    custom->addWidget(eNrFrom, 0, 2);
    custom->addWidget(lblTo, 0, 3);
    custom->addWidget(eNrTo, 0, 4);
    layout->addLayout(custom);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bOK);
    buttons->addWidget(bCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormNumbers::bind(bool *numbersMode, int *numberFrom, int *numberTo)
{
    m_mode = numbersMode;
    m_from = numberFrom;
    m_to = numberTo;
}

void TFormNumbers::centreOn(const QWidget *owner)
{
    if (!owner)
        return;
    adjustSize();
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
}

void TFormNumbers::bOKClick()
{
    korvana::NumberPreset preset = korvana::NumberPreset::Custom;
    if (rbn1->isChecked())
        preset = korvana::NumberPreset::Hundred;
    else if (rbn2->isChecked())
        preset = korvana::NumberPreset::Thousand;
    else if (rbn3->isChecked())
        preset = korvana::NumberPreset::TenThousand;
    const korvana::NumberRange range = korvana::numberRange(preset, eNrFrom->text(), eNrTo->text());
    if (m_mode)
        *m_mode = true;
    if (m_from)
        *m_from = range.from;
    if (m_to)
        *m_to = range.to;
    done(ResultOk);
}

void TFormNumbers::bCancelClick()
{
    if (m_mode)
        *m_mode = false;
    done(ResultCancel);
}

void TFormNumbers::eNrFromKeyDown()
{
    rbnCustom->setChecked(true);
}

void TFormNumbers::FormKeyDown(int Key)
{
    if (Key == Qt::Key_Escape)
        done(ResultCancel);
}

bool TFormNumbers::eventFilter(QObject *watched, QEvent *e)
{
    if ((watched == eNrFrom || watched == eNrTo) && e->type() == QEvent::KeyPress) {
        // The dialog sees the key first, as it previews every key.
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() == Qt::Key_Escape) {
            FormKeyDown(key->key());
            return true;
        }
        eNrFromKeyDown();
    }
    return QDialog::eventFilter(watched, e);
}

void TFormNumbers::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        FormKeyDown(e->key());
        return;
    }
    QDialog::keyPressEvent(e);
}
