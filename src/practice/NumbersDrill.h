#pragma once
// The numbers drill's state: while it is on, every step of the practice
// shows a number drawn from [from, to) in place of a term: its digits, its
// Chinese numeral and the numeral's pinyin.
#include "platform/richtext/RichEdit.h"

#include <QString>

namespace korvana {

struct NumbersDrill {
    bool on = false;
    int from = 0;
    int to = 0;
    int number = 0;
    // The Chinese numeral of number.
    QString numeral;
    // The stored pinyin of the numerals' characters, one per line, loaded
    // from the character database when the drill starts.
    RichEdit numeralPinyin;
};

} // namespace korvana
