#pragma once
// The automatic mode's time between steps.
#include <QString>

namespace korvana {

// Milliseconds between automatic steps: per character, characters x multiple
// x 500; otherwise seconds x 1000. The texts are read strictly (throws
// korvana::Error). Never negative; at most the largest timer interval.
int autoIntervalMs(bool perCharacter, int characters, const QString &multiple, const QString &seconds);

} // namespace korvana
