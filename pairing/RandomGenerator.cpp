#include "pairing/RandomGenerator.h"

#include <ctime>

namespace tabry {

std::uint32_t CRandomGenerator::TimeSeed()
{
    return static_cast<std::uint32_t>(std::time(nullptr));
}

void CRandomGenerator::SeedFromTime()
{
    Seed(TimeSeed());
}

} // namespace tabry
