#include "outside/automation_error.h"

#include <utility>

namespace qv {

AutomationError::AutomationError(int32_t p_lNumber, std::string p_sSource,
                                 std::string p_sDescription)
    : std::runtime_error(std::to_string(p_lNumber) + ": " + p_sDescription),
      m_lNumber(p_lNumber),
      m_sSource(std::move(p_sSource)),
      m_sDescription(std::move(p_sDescription)) {}

std::string RuntimeErrorText(int32_t p_lNumber) {
    switch (p_lNumber) {
        case errors::kInvalidProcedureCall:
            return "Invalid procedure call or argument";
        case errors::kOverflow:
            return "Overflow";
        case errors::kSubscriptOutOfRange:
            return "Subscript out of range";
        case errors::kTypeMismatch:
            return "Type mismatch";
        case errors::kObjectVariableNotSet:
            return "Object variable or With block variable not set";
        case errors::kInvalidUseOfNull:
            return "Invalid use of Null";
        case errors::kCannotCreateObject:
            return "ActiveX component can't create object";
        case errors::kActionNotSupported:
            return "Object doesn't support this action";
        case errors::kMemberNotSupported:
            return "Object doesn't support this property or method";
        case errors::kWrongArgumentCount:
            return "Wrong number of arguments or invalid property assignment";
        case errors::kInvalidViewerType:
            return "Invalid Viewer Type";
        case errors::kArgumentsWrongType:
            return "Arguments are of the wrong type, are out of acceptable range, or are in "
                   "conflict "
                   "with one another";
        case errors::kNoCurrentRecord:
            return "Either BOF or EOF is True, or the current record has been deleted";
        case errors::kItemNotFound:
            return "Item cannot be found in the collection corresponding to the requested name or "
                   "ordinal";
        case errors::kNotAllowedWhenClosed:
            return "Operation is not allowed when the object is closed";
        case errors::kNotAllowedWhenOpen:
            return "Operation is not allowed when the object is open";
        default:
            return "";
    }
}

void RaiseRuntimeError(int32_t p_lNumber, const std::string& p_sDetail) {
    std::string description = RuntimeErrorText(p_lNumber);
    if (!p_sDetail.empty()) {
        description += description.empty() ? p_sDetail : ": " + p_sDetail;
    }
    throw AutomationError(p_lNumber, "qorvantOnlineViewer", description);
}

std::string ErrorText(const std::exception& p_error) {
    if (const auto* automation = dynamic_cast<const AutomationError*>(&p_error)) {
        return automation->Description();
    }
    return p_error.what();
}

}  // namespace qv
