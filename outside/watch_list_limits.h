// The limits of a watch list. The dialogs refuse what breaks them, the viewer tells the person
// before it calls the data facade, and the facade refuses them from any caller, so each says the
// same thing in the same words.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

inline constexpr size_t kMaxWatchListItems = 5000;
inline constexpr size_t kMaxWatchListNameChars = 100;
inline constexpr size_t kMaxWatchListCommentChars = 1000;

// Why p_sName cannot name a watch list (blank, too long, not text), in words for the person;
// "" when it can. Surrounding blanks do not count: the list is named without them.
std::string WatchListNameFault(const std::string& p_sName);
// Why comments of p_sComments cannot go with a list; "" when they can.
std::string WatchListCommentsFault(const std::string& p_sComments);
// Why p_lItems items are too many for one list; "" when they are not.
std::string WatchListSizeFault(size_t p_lItems);

}  // namespace qv
