#pragma once
// Tone-marked pinyin in the panes: the Latin font given to a field before it
// is copied out of the term's line, and the pinyin pane coloured by tone.
// The rules themselves are in practice/ToneColours; here they are applied
// to the rich-text controls through their selection.
struct MainWindowControls;
namespace korvana {
class RichEdit;
} // namespace korvana

class PinyinTones {
public:
    // controls are the main window's, whose pinyin pane is coloured.
    explicit PinyinTones(MainWindowControls &controls) : m_controls(controls) {}

    // Gives the characters of edit from fromPos to toPos (0-based, both
    // included) that need it the Latin font.
    void applyLatinFont(korvana::RichEdit *edit, int fromPos, int toPos);
    // The pinyin pane coloured by tone (a hook of the term display).
    void colorPinyinTones();
    // Colours the syllable of pinyinText around the character at 1-based position
    // pos by tone (1-4).
    void colorPinyinSyllable(int tone, int pos);

private:
    MainWindowControls &m_controls;
};
