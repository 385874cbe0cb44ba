#include "practice/RandomGenerator.h"

#include <QTime>

namespace korvana {

RandomGenerator &RandomGenerator::instance()
{
    static RandomGenerator generator;
    return generator;
}

void RandomGenerator::randomize()
{
    m_seed = quint32(QTime::currentTime().msecsSinceStartOfDay());
}

int RandomGenerator::random(int n)
{
    m_seed = m_seed * 134775813u + 1u; // wraps modulo 2^32
    if (n <= 0)
        return 0;
    return int((quint64(m_seed) * quint64(n)) >> 32);
}

} // namespace korvana
