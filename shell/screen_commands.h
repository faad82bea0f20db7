// The command line's screen commands, which need no display: --screens lists the owner's and the
// shipped screens, --save-screen NAME keeps the criteria of --screen-criteria (and the kind of
// --screen-rows) as the owner's screen of that name (replacing one of that name, in any letter
// case), and --delete-screen NAME deletes the owner's screen of that name. Each says what it did
// on p_out; a refusal is a RequestError or the facade's error.
#pragma once

#include <iosfwd>

namespace qv {

class MarketSession;
struct ShellOptions;

void RunScreenCommand(const ShellOptions& p_oOptions, const MarketSession& p_oSession,
                      std::ostream& p_out);

}  // namespace qv
