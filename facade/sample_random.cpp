#include "facade/sample_random.h"

#include <cmath>
#include <numbers>

namespace qv::facade {

namespace {

uint64_t SplitMix(uint64_t& p_llState) {
    uint64_t value = (p_llState += 0x9E3779B97F4A7C15ull);
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

uint64_t RotateLeft(uint64_t p_llValue, int p_lBits) {
    return (p_llValue << p_lBits) | (p_llValue >> (64 - p_lBits));
}

}  // namespace

SampleRandom::SampleRandom(uint64_t p_llSeed) : m_llSeed(p_llSeed) {
    uint64_t state = p_llSeed;
    for (uint64_t& word : m_aState) {
        word = SplitMix(state);
    }
}

SampleRandom SampleRandom::Fork(uint64_t p_llStream) const {
    uint64_t mix = m_llSeed ^ (p_llStream * 0xD1B54A32D192ED03ull);
    return SampleRandom(SplitMix(mix));
}

uint64_t SampleRandom::NextBits() {
    const uint64_t result = RotateLeft(m_aState[1] * 5, 7) * 9;
    const uint64_t shifted = m_aState[1] << 17;
    m_aState[2] ^= m_aState[0];
    m_aState[3] ^= m_aState[1];
    m_aState[1] ^= m_aState[2];
    m_aState[0] ^= m_aState[3];
    m_aState[2] ^= shifted;
    m_aState[3] = RotateLeft(m_aState[3], 45);
    return result;
}

double SampleRandom::Uniform() {
    return static_cast<double>(NextBits() >> 11) * 0x1.0p-53;
}

double SampleRandom::Uniform(double p_dLow, double p_dHigh) {
    return p_dLow + (p_dHigh - p_dLow) * Uniform();
}

double SampleRandom::Normal() {
    if (m_bHasSpare) {
        m_bHasSpare = false;
        return m_dSpareNormal;
    }
    const double radius = std::sqrt(-2.0 * std::log(1.0 - Uniform()));
    const double angle = 2.0 * std::numbers::pi * Uniform();
    m_dSpareNormal = radius * std::sin(angle);
    m_bHasSpare = true;
    return radius * std::cos(angle);
}

uint64_t SampleRandom::Below(uint64_t p_llBound) {
    return NextBits() % p_llBound;
}

}  // namespace qv::facade
