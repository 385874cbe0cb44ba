#include "editing/PinyinEntry.h"
#include "editing/LessonEditorWindow.h"
#include "platform/richtext/RichEdit.h"
#include "settings/OptionsDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

using korvana::KeyboardLayoutItem;
using korvana::Pane;
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
    // The a and e images are laid out in another order than the rest.
    static const int aAndE[8] = {1, 6, 7, 8, 2, 3, 4, 5};
    if (index < 1 || index > 24)
        return QString();
    return QStringLiteral("toneImage%1").arg(index <= 8 ? aAndE[index - 1] : index);
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

void LessonEditorWindow::buildPinyinPanel()
{
    auto *grid = qobject_cast<QGridLayout *>(layout());
    pinyinPanel = new QWidget(this);
    pinyinPanel->setObjectName(QStringLiteral("pinyinPanel"));
    pinyinPanel->setAutoFillBackground(true);
    QPalette pal = pinyinPanel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    pinyinPanel->setPalette(pal);

    auto *outer = new QVBoxLayout(pinyinPanel);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(new QLabel(QStringLiteral("Insert Pin Yin"), pinyinPanel));
    auto *cells = new QGridLayout;
    cells->setSpacing(2);
    outer->addLayout(cells);
    toneImages.clear();
    for (int index = 1; index <= 24; ++index) {
        auto *image = new korvana::ToneImage(index, pinyinPanel);
        QPalette ip = image->palette();
        ip.setColor(QPalette::WindowText, Qt::black);
        image->setPalette(ip);
        // Columns are the vowels, rows the tones.
        cells->addWidget(image, (index - 1) % 4, (index - 1) / 4);
        connect(image, &korvana::ToneImage::pressed, this, [this](int i) { toneImageMousePressed(i); });
        connect(image, &korvana::ToneImage::released, this, [this](int i) { toneImageMouseReleased(i); });
        connect(image, &korvana::ToneImage::clicked, this, [this](int i) { insertToneVowel(i); });
        toneImages.append(image);
    }
    if (grid)
        grid->addWidget(pinyinPanel, 0, 5, 4, 1, Qt::AlignTop);

    for (Pane p : korvana::allPanes) {
        QComboBox *cb = panes[p].layouts;
        if (!cb)
            continue;
        cb->setObjectName(korvana::paneName(p) + QStringLiteral("LayoutCombo"));
        connect(cb, &QComboBox::activated, this, [this, p] { layoutListClosed(p); });
    }
}

void LessonEditorWindow::readInstalledLayouts(QList<KeyboardLayoutItem> &list)
{
    list = korvana::installedKeyboardLayouts(korvana::KeyboardLayouts::instance());
}

void LessonEditorWindow::fillLayoutLists()
{
    QList<KeyboardLayoutItem> installed;
    readInstalledLayouts(installed);
    const QList<KeyboardLayoutItem> choices = korvana::keyboardLayoutChoices(installed);
    for (const FieldControls &field : panes) {
        QComboBox *cb = field.layouts;
        if (!cb)
            continue;
        cb->clear();
        for (const KeyboardLayoutItem &item : choices)
            cb->addItem(item.name, QVariant::fromValue<qulonglong>(item.handle));
        cb->setCurrentIndex(choices.isEmpty() ? -1 : 0);
    }
    if (QComboBox *characters = panes[Pane::Characters].layouts) {
        const int chs = characters->findText(QStringLiteral("CHS"), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (chs >= 0)
            characters->setCurrentIndex(chs);
    }
}

void LessonEditorWindow::followUserLayout()
{
    if (m_followedUserLayout)
        return;
    m_followedUserLayout = true;
    // Latin text is typed with the user's own layout or engine, not with the
    // first of a sorted list ("CHS" before "ENU"); the characters list keeps
    // Chinese. A layout not listed (two of one name give one item) is
    // matched by its name; none at all leaves the first item.
    korvana::KeyboardLayouts &platform = korvana::KeyboardLayouts::instance();
    const korvana::LayoutHandle user = platform.userLayout();
    if (user == 0)
        return;
    for (Pane p : {Pane::Translation, Pane::Pinyin, Pane::Notes}) {
        QComboBox *cb = panes[p].layouts;
        if (!cb)
            continue;
        int at = cb->findData(QVariant::fromValue<qulonglong>(user));
        if (at < 0)
            at = cb->findText(platform.abbreviatedName(user), Qt::MatchFixedString);
        if (at >= 0)
            cb->setCurrentIndex(at);
    }
}

RichEdit *LessonEditorWindow::activeFieldEdit() const
{
    return activeField ? panes[*activeField].text : nullptr;
}

void LessonEditorWindow::fieldEntered(Pane field)
{
    QComboBox *layouts = panes[field].layouts;
    if (layouts && layouts->currentIndex() >= 0)
        korvana::KeyboardLayouts::instance().activate(korvana::LayoutHandle(layouts->currentData().toULongLong()));
    activeField = field;
}

void LessonEditorWindow::layoutListClosed(Pane field)
{
    QTextEdit *view = panes[field].text ? panes[field].text->view() : nullptr;
    if (!view)
        return;
    const bool had = view->hasFocus();
    view->setFocus(Qt::OtherFocusReason);
    // Taking the focus runs the field's enter handler. When no focus event
    // comes - the field had it already, or the window is not the active one -
    // the layout just chosen is made active here.
    if (had || !view->hasFocus())
        fieldEntered(field);
}

void LessonEditorWindow::insertToneVowel(int index)
{
    if (index < 1 || index > 24)
        return;
    RichEdit *field = activeFieldEdit();
    const int system = m_options.pinyinSystemCombo ? m_options.pinyinSystemCombo->currentIndex() : 0;
    if (system != 0) {
        if (field)
            insertUnicodeChar(korvana::toneVowel(index), field);
        return;
    }
    RichEdit &stored = m_host.toneVowelsText();
    stored.setSel(index - 1, index);
    if (!field)
        return;
    // With the stored text missing or short, nothing is selected, and copying
    // would put the whole stored text into the field: insert nothing instead.
    if (stored.selLength() != 1 || stored.selText() == QLatin1String("\r\n"))
        return;
    korvana::copyRichText(&stored, field);
}

void LessonEditorWindow::insertUnicodeChar(QChar character, RichEdit *field)
{
    if (!field || character.isNull())
        return;
    static const QString font = QStringLiteral("Times New Roman");
    constexpr int eastEurope = 238;
    const int p = field->selStart();
    field->setSelCharset(eastEurope);
    field->setSelFontName(font);
    field->setSelText(QString(character));
    field->setSelStart(p);
    field->setSelLength(1);
    field->setSelCharset(eastEurope);
    field->setSelFontName(font);
    field->setSelStart(p + 1);
}

void LessonEditorWindow::fieldKeyPressed(RichEdit *edit)
{
    if (!edit || edit->selLength() != 0)
        return;
    // Text typed after a tone vowel goes on in the field's own font, not in
    // the vowel's Times New Roman.
    if (QTextEdit *view = edit->view())
        edit->setSelFontName(view->font().family());
}

void LessonEditorWindow::toneImageMousePressed(int index)
{
    if (index >= 1 && index <= toneImages.size())
        toneImages[index - 1]->setConcealed(true);
}

void LessonEditorWindow::toneImageMouseReleased(int index)
{
    if (index >= 1 && index <= toneImages.size())
        toneImages[index - 1]->setConcealed(false);
}
