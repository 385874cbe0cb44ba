#include "practice/AutoInterval.h"
#include "platform/ui/Integers.h"

#include <climits>

namespace korvana {

int autoIntervalMs(bool perCharacter, int characters, const QString &multiple, const QString &seconds)
{
    const qint64 ms = perCharacter ? qint64(characters) * strToInt(multiple) * 500 : qint64(strToInt(seconds)) * 1000;
    if (ms < 0)
        return 0;
    return ms > INT_MAX ? INT_MAX : int(ms);
}

} // namespace korvana
