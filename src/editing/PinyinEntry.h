#pragma once
// Typing the two scripts of a term in the lesson editor: the tone vowels of
// the pinyin panel, and the keyboard-layout lists of the editor's fields.
//
// The LessonEditorWindow side (the panel, insertToneVowel, the fields' enter handlers and
// the lists' close-up handlers) is in PinyinEntry.cpp; this header holds the
// parts that need no window.
#include "platform/keyboard/KeyboardLayouts.h"

#include <QLabel>
#include <QList>
#include <QString>

namespace korvana {

// Indexes 1..24 of the tone panel: 4 x vowel (0 a, 1 e, 2 i, 3 o, 4 u,
// 5 u with diaeresis) + tone (1..4).
constexpr int toneVowelIndex(int vowel, int tone)
{
    return 4 * vowel + tone;
}

// The Unicode tone vowel for an index 1..24; a null character otherwise.
// Every third tone is the caron form (ǎ U+01CE, not the breve ă U+0103, which
// is no pinyin letter).
QChar toneVowel(int index);

// The component name of the panel image for an index 1..24 ("toneImage1"...).
QString toneImageName(int index);

struct KeyboardLayoutItem {
    QString name;        // abbreviated language name, "CHS"
    LayoutHandle handle; // what activating the layout needs
};

// The installed layouts in the platform's order, at most 41, each with its
// abbreviated name cut at the first NUL.
constexpr int MaxKeyboardLayouts = 41;
QList<KeyboardLayoutItem> installedKeyboardLayouts(KeyboardLayouts &platform);

// What the fields' lists offer: sorted by name ignoring case, one item per
// name (the first the platform listed), nameless layouts left out.
QList<KeyboardLayoutItem> keyboardLayoutChoices(const QList<KeyboardLayoutItem> &installed);

// One tone vowel of the panel. Clicking never takes the keyboard focus, so
// the field being typed in keeps it. While pressed the image is not drawn,
// so the black panel behind it shows through.
class ToneImage : public QLabel {
    Q_OBJECT
public:
    ToneImage(int index, QWidget *parent = nullptr);
    int index() const { return m_index; }
    void setConcealed(bool on);
    bool concealed() const { return m_concealed; }

signals:
    void pressed(int index);
    void released(int index);
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    int m_index;
    bool m_concealed = false;
    bool m_down = false;
};

} // namespace korvana
