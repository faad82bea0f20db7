// The number of the automation error an action raises, for tests that assert on it:
//
//     EXPECT_EQ(ErrorNumberOf([&] { recordset->MoveNext(); }), errors::kNoCurrentRecord);
#pragma once

#include "support/test_helpers.h"

namespace qv {

// 0 when p_action raises none; any other exception passes through.
inline int32_t ErrorNumberOf(const std::function<void()>& p_action) {
    return FailureOf(p_action).Number;
}

}  // namespace qv
