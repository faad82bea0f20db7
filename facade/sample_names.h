// Names for the sample market: the eleven business sectors, industry groups of each, and the
// pieces company names are built from.
#pragma once

#include <vector>

namespace qv::facade {

struct SampleSector {
    const char* m_sName;
    std::vector<const char*> m_aIndustries;
    std::vector<const char*> m_aCompanyWords;  // "Energy" in "Norex Energy Corp."
};

const std::vector<SampleSector>& SampleSectors();
const std::vector<const char*>& CompanyNameStarts();
const std::vector<const char*>& CompanyNameEnds();
const std::vector<const char*>& CompanySuffixes();

}  // namespace qv::facade
