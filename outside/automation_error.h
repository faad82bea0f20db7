// The failure type of the whole system: an automation error with a number, the source that raised
// it and a description, as the automation runtime reports it. Error numbers are the runtime's and
// the recordset library's own, so that code reading them behaves as the hosts expect.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qv {

namespace errors {
constexpr int32_t kInvalidProcedureCall = 5;
constexpr int32_t kOverflow = 6;
constexpr int32_t kSubscriptOutOfRange = 9;
constexpr int32_t kTypeMismatch = 13;
constexpr int32_t kObjectVariableNotSet = 91;
constexpr int32_t kInvalidUseOfNull = 94;
constexpr int32_t kCannotCreateObject = 429;
constexpr int32_t kPrinterError = 482;
constexpr int32_t kActionNotSupported = 445;
constexpr int32_t kMemberNotSupported = 438;
constexpr int32_t kWrongArgumentCount = 450;
constexpr int32_t kInvalidViewerType = 911;
// Recordset library.
constexpr int32_t kArgumentsWrongType = 3001;
constexpr int32_t kNoCurrentRecord = 3021;
constexpr int32_t kItemNotFound = 3265;
constexpr int32_t kNotAllowedWhenClosed = 3704;
constexpr int32_t kNotAllowedWhenOpen = 3705;
}  // namespace errors

class AutomationError : public std::runtime_error {
  public:
    AutomationError(int32_t p_lNumber, std::string p_sSource, std::string p_sDescription);

    int32_t Number() const { return m_lNumber; }
    const std::string& Source() const { return m_sSource; }
    const std::string& Description() const { return m_sDescription; }

  private:
    int32_t m_lNumber;
    std::string m_sSource;
    std::string m_sDescription;
};

// The runtime's own text for the numbers above ("Overflow", "Type mismatch", ...); empty for
// others.
std::string RuntimeErrorText(int32_t p_lNumber);

// What an error says to a person: an automation error's description without its number (what()
// starts with the number, for logs), any other exception's what().
std::string ErrorText(const std::exception& p_error);

// Throws the runtime error p_lNumber with its standard text, or p_sDetail appended after ": ".
[[noreturn]] void RaiseRuntimeError(int32_t p_lNumber, const std::string& p_sDetail = "");

}  // namespace qv
