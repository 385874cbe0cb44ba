#pragma once
// The program's one random number generator. Every random choice (the
// practice order, the numbers drill) draws from the same sequence, so a test
// that fixes the seed fixes every draw.
//
// seed := seed * 134775813 + 1 (mod 2^32); a value in [0, n) is the upper
// 32 bits of seed * n.
#include <QtGlobal>

namespace korvana {

class RandomGenerator {
public:
    // The process-wide generator.
    static RandomGenerator &instance();

    // Seeds from the time of day in milliseconds.
    void randomize();

    void setSeed(quint32 seed) { m_seed = seed; }
    quint32 seed() const { return m_seed; }

    // A value in [0, n); 0 when n is not positive.
    int random(int n);

private:
    quint32 m_seed = 0;
};

} // namespace korvana
