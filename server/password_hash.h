// Password hashes and session tokens of the facade server, from libsodium.
//
// A hash is libsodium's self-describing string (algorithm, its costs and salt included), so a
// hash stored under older costs still verifies after the costs are raised.
//
//     const std::string stored = HashPassword("correct horse");
//     VerifyPassword(stored, typed);   // true only for the same password
#pragma once

#include <string>
#include <string_view>

namespace qv::server {

// Interactive: libsodium's costs for a login a person waits on. Minimal: the least it allows, for
// the accounts of tests and benchmarks that log in many times (never for a real account).
enum class PasswordCost { Interactive, Minimal };

std::string HashPassword(std::string_view p_sPassword,
                         PasswordCost p_eCost = PasswordCost::Interactive);
// False for another password, and for text that is not a hash.
bool VerifyPassword(const std::string& p_sHash, std::string_view p_sPassword);
// Verifies against a hash of no account, so that a login with an unknown name takes as long as
// one with a wrong password and the answer time does not tell which names exist.
void SpendVerifyTime(std::string_view p_sPassword);

// 32 random bytes in lower-case hexadecimal.
std::string NewSessionToken();

}  // namespace qv::server
