// Trading days as day serials: whole days counted from 1899-12-30, the automation runtime's
// dates without a time of day, so a day serial is a Date the viewer can use as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::facade {

struct CivilDate {
    int m_lYear = 1899;
    int m_lMonth = 12;
    int m_lDay = 30;
};

int32_t DaySerialFromCivil(const CivilDate& p_oDate);
CivilDate CivilFromDaySerial(int32_t p_lSerial);

// 1 Monday to 7 Sunday.
int IsoWeekday(int32_t p_lSerial);

// Reads "YYYY-MM-DD" strictly, or any date text the runtime reads ("4/23/2018"); false for text
// that names no real date or has a time of day.
bool ParseDayText(std::string_view p_sText, int32_t& p_lSerial);

// "YYYY-MM-DD".
std::string IsoDateText(int32_t p_lSerial);

}  // namespace qv::facade
