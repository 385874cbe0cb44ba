#pragma once
// Whole numbers read from text by the program's one rule: leading blanks are
// skipped, then an optional sign and decimal digits, or hexadecimal digits
// after "$", "x", "X", "0x" or "0X"; the value must fit in 32 signed bits and
// nothing may follow the digits.
#include <QString>
#include <optional>

namespace korvana {

std::optional<int> parseInteger(const QString &text);

// Strict reading: fails with "'<text>' is not a valid integer value".
int strToInt(const QString &text);

// Lenient reading: the default when the text is not a number.
int strToIntDef(const QString &text, int def);

} // namespace korvana
