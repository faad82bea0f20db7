// What the fuzz targets share: a broken property stops the run, so the fuzzer keeps the input;
// bad input must fail with an automation error and nothing else.
#pragma once

#include <cstdlib>
#include <functional>
#include <memory>
#include <tuple>

#include "outside/automation_error.h"
#include "outside/recordset.h"

inline void Check(bool p_bHolds) {
    if (!p_bHolds) {
        std::abort();
    }
}

// True when the action ran, false when it raised an automation error.
inline bool Accepts(const std::function<void()>& p_fAction) {
    try {
        p_fAction();
    } catch (const qv::AutomationError&) {
        return false;
    }
    return true;
}

// An open recordset of the fields (name, type, defined size), holding the rows.
inline std::shared_ptr<qv::Recordset> MakeRecordset(
    std::initializer_list<std::tuple<const char*, int32_t, int32_t>> p_aFields,
    std::initializer_list<std::initializer_list<qv::Variant>> p_aRows) {
    auto recordset = std::make_shared<qv::Recordset>();
    for (const auto& [name, type, size] : p_aFields) {
        recordset->Fields().Append(name, type, size);
    }
    recordset->Open();
    for (const std::initializer_list<qv::Variant>& row : p_aRows) {
        recordset->AddNew(row);
    }
    return recordset;
}
