#pragma once
// Numeric language codes ("409" English, "804" Chinese) for the languages of
// the speech engine's voices. The program picks its Chinese voice by the code
// "804", so only the Mandarin voice may carry it; the other codes are for
// display.
#include <QString>

namespace korvana {

// The code (hexadecimal text, upper case, no leading zeros, e.g. "409") of
// a language tag such as "en-us" or "cmn"; empty when there is none.
QString languageCodeFor(const QString &languageTag);

} // namespace korvana
