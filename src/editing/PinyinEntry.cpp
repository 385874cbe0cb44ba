#include "editing/PinyinEntry.h"
#include "app/TForm1.h"
#include "editing/TFormEditor.h"
#include "platform/richtext/RichEdit.h"
#include "settings/TFormOptions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

using korvana::KeyboardLayoutItem;
using korvana::RichEdit;

namespace korvana {

QChar toneVowel(int index)
{
    static const char16_t vowels[24] = {
        0x0101, 0x00E1, 0x01CE, 0x00E0, // a
        0x0113, 0x00E9, 0x011B, 0x00E8, // e
        0x012B, 0x00ED, 0x01D0, 0x00EC, // i
        0x014D, 0x00F3, 0x01D2, 0x00F2, // o
        0x016B, 0x00FA, 0x01D4, 0x00F9, // u
        0x01D6, 0x01D8, 0x01DA, 0x01DC, // u with diaeresis
    };
    return index >= 1 && index <= 24 ? QChar(vowels[index - 1]) : QChar();
}

QString toneImageName(int index)
{
    // The a and e images were laid out in another order than the rest.
    static const int aAndE[8] = {1, 6, 7, 8, 2, 3, 4, 5};
    if (index < 1 || index > 24)
        return QString();
    return QStringLiteral("Image%1").arg(index <= 8 ? aAndE[index - 1] : index);
}

QList<KeyboardLayoutItem> installedKeyboardLayouts(KeyboardLayouts &platform)
{
    QList<KeyboardLayoutItem> items;
    QList<LayoutHandle> handles = platform.layoutList(MaxKeyboardLayouts);
    if (handles.size() > MaxKeyboardLayouts)
        handles.resize(MaxKeyboardLayouts);
    for (LayoutHandle h : handles) {
        QString name = platform.abbreviatedName(h);
        const int nul = name.indexOf(QChar(0));
        if (nul >= 0)
            name.truncate(nul);
        items.append({name, h});
    }
    return items;
}

QList<KeyboardLayoutItem> keyboardLayoutChoices(const QList<KeyboardLayoutItem> &installed)
{
    QList<KeyboardLayoutItem> sorted;
    const auto less = [](const KeyboardLayoutItem &a, const QString &name) {
        return QString::compare(a.name, name, Qt::CaseInsensitive) < 0;
    };
    for (const KeyboardLayoutItem &item : installed) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), item.name, less);
        if (at != sorted.end() && QString::compare(at->name, item.name, Qt::CaseInsensitive) == 0)
            continue; // a name already offered keeps the layout listed first
        sorted.insert(at, item);
    }
    sorted.removeIf([](const KeyboardLayoutItem &i) { return i.name.isEmpty(); });
    return sorted;
}

ToneImage::ToneImage(int index, QWidget *parent) : QLabel(parent), m_index(index)
{
    setObjectName(toneImageName(index));
    setText(QString(toneVowel(index)));
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setFixedSize(22, 22);
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(12);
    setFont(f);
}

void ToneImage::setConcealed(bool on)
{
    if (m_concealed == on)
        return;
    m_concealed = on;
    update();
}

void ToneImage::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(e);
    m_down = true;
    emit pressed(m_index);
}

void ToneImage::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !m_down)
        return QLabel::mouseReleaseEvent(e);
    m_down = false;
    emit released(m_index);
    if (rect().contains(e->position().toPoint()))
        emit clicked(m_index);
}

void ToneImage::paintEvent(QPaintEvent *e)
{
    if (m_concealed)
        return; // the black panel shows through
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.end();
    QLabel::paintEvent(e);
}

} // namespace korvana

// --- the editor's side --------------------------------------------------------------------------

void TFormEditor::buildPinyinPanel()
{
    auto *grid = qobject_cast<QGridLayout *>(layout());
    PanelPinYin = new QWidget(this);
    PanelPinYin->setObjectName(QStringLiteral("PanelPinYin"));
    PanelPinYin->setAutoFillBackground(true);
    QPalette pal = PanelPinYin->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    PanelPinYin->setPalette(pal);

    auto *outer = new QVBoxLayout(PanelPinYin);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(new QLabel(QStringLiteral("Insert Pin Yin"), PanelPinYin));
    auto *cells = new QGridLayout;
    cells->setSpacing(2);
    outer->addLayout(cells);
    toneImages.clear();
    for (int index = 1; index <= 24; ++index) {
        auto *image = new korvana::ToneImage(index, PanelPinYin);
        QPalette ip = image->palette();
        ip.setColor(QPalette::WindowText, Qt::black);
        image->setPalette(ip);
        // Columns are the vowels, rows the tones.
        cells->addWidget(image, (index - 1) % 4, (index - 1) / 4);
        connect(image, &korvana::ToneImage::pressed, this, [this](int i) { Image1MouseDown(i); });
        connect(image, &korvana::ToneImage::released, this, [this](int i) { Image1MouseUp(i); });
        connect(image, &korvana::ToneImage::clicked, this, [this](int i) { InsertPin2(i); });
        toneImages.append(image);
    }
    if (grid)
        grid->addWidget(PanelPinYin, 0, 5, 4, 1, Qt::AlignTop);

    for (QComboBox *cb : {cbOrig, cbPin, cbChin, cbNote}) {
        if (!cb)
            continue;
        cb->setObjectName(cb == cbOrig ? QStringLiteral("cbOrig")
                          : cb == cbPin ? QStringLiteral("cbPin")
                          : cb == cbChin ? QStringLiteral("cbChin")
                                         : QStringLiteral("cbNote"));
        void (TFormEditor::*closeUp)() = cb == cbOrig  ? &TFormEditor::cbOrigCloseUp
                                         : cb == cbPin ? &TFormEditor::cbPinCloseUp
                                         : cb == cbChin ? &TFormEditor::cbChinCloseUp
                                                        : &TFormEditor::cbNoteCloseUp;
        connect(cb, &QComboBox::activated, this, [this, closeUp] { (this->*closeUp)(); });
    }
}

void TFormEditor::FillKeyboardLayouts(QList<KeyboardLayoutItem> &List)
{
    List = korvana::installedKeyboardLayouts(korvana::KeyboardLayouts::instance());
}

void TFormEditor::fillLayoutLists()
{
    QList<KeyboardLayoutItem> installed;
    FillKeyboardLayouts(installed);
    const QList<KeyboardLayoutItem> choices = korvana::keyboardLayoutChoices(installed);
    for (QComboBox *cb : {cbOrig, cbPin, cbChin, cbNote}) {
        if (!cb)
            continue;
        cb->clear();
        for (const KeyboardLayoutItem &item : choices)
            cb->addItem(item.name, QVariant::fromValue<qulonglong>(item.handle));
        cb->setCurrentIndex(choices.isEmpty() ? -1 : 0);
    }
    if (cbChin) {
        const int chs = cbChin->findText(QStringLiteral("CHS"), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (chs >= 0)
            cbChin->setCurrentIndex(chs);
    }
}

RichEdit *TFormEditor::activeFieldEdit() const
{
    switch (FActiveField) {
    case 1: return reEdOrig;
    case 2: return reEdPin;
    case 3: return reEdChin;
    case 4: return reEdNote;
    default: return nullptr;
    }
}

void TFormEditor::enterField(int field, QComboBox *layouts)
{
    if (layouts && layouts->currentIndex() >= 0)
        korvana::KeyboardLayouts::instance().activate(
            korvana::LayoutHandle(layouts->currentData().toULongLong()));
    FActiveField = field;
}

void TFormEditor::reEdOrigEnter() { enterField(1, cbOrig); }
void TFormEditor::reEdPinEnter() { enterField(2, cbPin); }
void TFormEditor::reEdChinEnter() { enterField(3, cbChin); }
void TFormEditor::reEdNoteEnter() { enterField(4, cbNote); }

void TFormEditor::closeUpList(RichEdit *field, void (TFormEditor::*enter)())
{
    QTextEdit *view = field ? field->view() : nullptr;
    if (!view)
        return;
    const bool had = view->hasFocus();
    view->setFocus(Qt::OtherFocusReason);
    // Taking the focus runs the field's enter handler. When no focus event
    // comes - the field had it already, or the window is not the active one -
    // the layout just chosen is made active here.
    if (had || !view->hasFocus())
        (this->*enter)();
}

void TFormEditor::cbOrigCloseUp() { closeUpList(reEdOrig, &TFormEditor::reEdOrigEnter); }
void TFormEditor::cbPinCloseUp() { closeUpList(reEdPin, &TFormEditor::reEdPinEnter); }
void TFormEditor::cbChinCloseUp() { closeUpList(reEdChin, &TFormEditor::reEdChinEnter); }
void TFormEditor::cbNoteCloseUp() { closeUpList(reEdNote, &TFormEditor::reEdNoteEnter); }

void TFormEditor::InsertPin2(int Index)
{
    if (Index < 1 || Index > 24)
        return;
    RichEdit *field = activeFieldEdit();
    const int system = FormOptions && FormOptions->cbPinyinSystem ? FormOptions->cbPinyinSystem->currentIndex() : 0;
    if (system != 0) {
        if (field)
            InsertUnicodeChar(korvana::toneVowel(Index), field);
        return;
    }
    if (!Form1)
        return;
    RichEdit &stored = Form1->rePinyin;
    stored.setSel(Index - 1, Index);
    if (!field)
        return;
    // With the stored text missing or short, nothing is selected, and copying
    // would put the whole stored text into the field: insert nothing instead.
    if (stored.selLength() != 1 || stored.selText() == QLatin1String("\r\n"))
        return;
    korvana::CopyRTF(&stored, field);
}

void TFormEditor::InsertUnicodeChar(QChar Character, RichEdit *Field)
{
    if (!Field || Character.isNull())
        return;
    static const QString font = QStringLiteral("Times New Roman");
    constexpr int EastEurope = 238;
    const int p = Field->selStart();
    Field->setSelCharset(EastEurope);
    Field->setSelFontName(font);
    Field->setSelText(QString(Character));
    Field->setSelStart(p);
    Field->setSelLength(1);
    Field->setSelCharset(EastEurope);
    Field->setSelFontName(font);
    Field->setSelStart(p + 1);
}

void TFormEditor::reEdPinKeyDown(RichEdit *Field)
{
    if (!Field || Field->selLength() != 0)
        return;
    // Text typed after a tone vowel goes on in the field's own font, not in
    // the vowel's Times New Roman.
    if (QTextEdit *view = Field->view())
        Field->setSelFontName(view->font().family());
}

void TFormEditor::Image1MouseDown(int Index)
{
    if (Index >= 1 && Index <= toneImages.size())
        toneImages[Index - 1]->setConcealed(true);
}

void TFormEditor::Image1MouseUp(int Index)
{
    if (Index >= 1 && Index <= toneImages.size())
        toneImages[Index - 1]->setConcealed(false);
}
