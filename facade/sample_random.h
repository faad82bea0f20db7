// The random numbers of the sample market: xoshiro256** seeded through splitmix64, with normal
// deviates by the Box-Muller transform. The standard library's distributions may differ between
// library versions; these do not, so a seed gives the same market everywhere.
#pragma once

#include <cstdint>

namespace qv::facade {

class SampleRandom {
  public:
    explicit SampleRandom(uint64_t p_llSeed);

    // A generator for sub-task p_llStream (one stock, one sector) that does not depend on how
    // many numbers this one has given out.
    SampleRandom Fork(uint64_t p_llStream) const;

    uint64_t NextBits();
    double Uniform();  // [0, 1)
    double Uniform(double p_dLow, double p_dHigh);
    double Normal();                     // mean 0, deviation 1
    uint64_t Below(uint64_t p_llBound);  // [0, p_llBound), p_llBound > 0

  private:
    uint64_t m_aState[4];
    uint64_t m_llSeed;
    double m_dSpareNormal = 0;
    bool m_bHasSpare = false;
};

}  // namespace qv::facade
