#include "facade/day_serial.h"

#include <cmath>
#include <cstdio>

#include "outside/vb_date.h"

namespace qv::facade {

namespace {

// Days from 1970-01-01 to 1899-12-30 the other way round.
constexpr int32_t kSerialOfUnixEpoch = 25569;

bool IsLeapYear(int p_lYear) {
    return (p_lYear % 4 == 0 && p_lYear % 100 != 0) || p_lYear % 400 == 0;
}

int DaysInMonth(int p_lYear, int p_lMonth) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return p_lMonth == 2 && IsLeapYear(p_lYear) ? 29 : kDays[p_lMonth - 1];
}

bool ReadDigits(std::string_view p_sText, size_t p_lFrom, size_t p_lCount, int& p_lValue) {
    p_lValue = 0;
    for (size_t i = p_lFrom; i < p_lFrom + p_lCount; ++i) {
        if (p_sText[i] < '0' || p_sText[i] > '9') {
            return false;
        }
        p_lValue = p_lValue * 10 + (p_sText[i] - '0');
    }
    return true;
}

bool ParseIso(std::string_view p_sText, int32_t& p_lSerial) {
    if (p_sText.size() != 10 || p_sText[4] != '-' || p_sText[7] != '-') {
        return false;
    }
    CivilDate oDate;
    if (!ReadDigits(p_sText, 0, 4, oDate.m_lYear) || !ReadDigits(p_sText, 5, 2, oDate.m_lMonth) ||
        !ReadDigits(p_sText, 8, 2, oDate.m_lDay)) {
        return false;
    }
    if (oDate.m_lYear < 100 || oDate.m_lMonth < 1 || oDate.m_lMonth > 12 || oDate.m_lDay < 1 ||
        oDate.m_lDay > DaysInMonth(oDate.m_lYear, oDate.m_lMonth)) {
        return false;
    }
    p_lSerial = DaySerialFromCivil(oDate);
    return true;
}

}  // namespace

// Howard Hinnant's days_from_civil and civil_from_days.
int32_t DaySerialFromCivil(const CivilDate& p_oDate) {
    const int lYear = p_oDate.m_lYear - (p_oDate.m_lMonth <= 2 ? 1 : 0);
    const int lEra = (lYear >= 0 ? lYear : lYear - 399) / 400;
    const int lYearOfEra = lYear - lEra * 400;
    const int lDayOfYear =
        (153 * (p_oDate.m_lMonth + (p_oDate.m_lMonth > 2 ? -3 : 9)) + 2) / 5 + p_oDate.m_lDay - 1;
    const int lDayOfEra = lYearOfEra * 365 + lYearOfEra / 4 - lYearOfEra / 100 + lDayOfYear;
    return lEra * 146097 + lDayOfEra - 719468 + kSerialOfUnixEpoch;
}

CivilDate CivilFromDaySerial(int32_t p_lSerial) {
    const int lDays = p_lSerial - kSerialOfUnixEpoch + 719468;
    const int lEra = (lDays >= 0 ? lDays : lDays - 146096) / 146097;
    const int lDayOfEra = lDays - lEra * 146097;
    const int lYearOfEra =
        (lDayOfEra - lDayOfEra / 1460 + lDayOfEra / 36524 - lDayOfEra / 146096) / 365;
    const int lDayOfYear = lDayOfEra - (365 * lYearOfEra + lYearOfEra / 4 - lYearOfEra / 100);
    const int lMonthIndex = (5 * lDayOfYear + 2) / 153;
    CivilDate oDate;
    oDate.m_lDay = lDayOfYear - (153 * lMonthIndex + 2) / 5 + 1;
    oDate.m_lMonth = lMonthIndex < 10 ? lMonthIndex + 3 : lMonthIndex - 9;
    oDate.m_lYear = lYearOfEra + lEra * 400 + (oDate.m_lMonth <= 2 ? 1 : 0);
    return oDate;
}

int IsoWeekday(int32_t p_lSerial) {
    // 1899-12-30 was a Saturday (6).
    const int lOffset = ((p_lSerial % 7) + 7) % 7;
    return (lOffset + 5) % 7 + 1;
}

bool ParseDayText(std::string_view p_sText, int32_t& p_lSerial) {
    if (ParseIso(p_sText, p_lSerial)) {
        return true;
    }
    double dSerial = 0;
    if (!ParseDateText(p_sText, dSerial) || dSerial != std::floor(dSerial)) {
        return false;
    }
    p_lSerial = static_cast<int32_t>(dSerial);
    return true;
}

std::string IsoDateText(int32_t p_lSerial) {
    const CivilDate oDate = CivilFromDaySerial(p_lSerial);
    char sText[16];
    std::snprintf(sText, sizeof sText, "%04d-%02d-%02d", oDate.m_lYear, oDate.m_lMonth,
                  oDate.m_lDay);
    return sText;
}

}  // namespace qv::facade
