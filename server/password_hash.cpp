#include "server/password_hash.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace qv::server {

namespace {

void InitialiseSodium() {
    static const bool initialised = sodium_init() >= 0;
    if (!initialised) {
        throw std::runtime_error("libsodium could not be initialised");
    }
}

}  // namespace

std::string HashPassword(std::string_view p_sPassword, PasswordCost p_eCost) {
    InitialiseSodium();
    const bool minimal = p_eCost == PasswordCost::Minimal;
    std::array<char, crypto_pwhash_STRBYTES> hash{};
    if (crypto_pwhash_str(
            hash.data(), p_sPassword.data(), p_sPassword.size(),
            minimal ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
            minimal ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        throw std::runtime_error("out of memory hashing a password");
    }
    return hash.data();
}

bool VerifyPassword(const std::string& p_sHash, std::string_view p_sPassword) {
    InitialiseSodium();
    return crypto_pwhash_str_verify(p_sHash.c_str(), p_sPassword.data(), p_sPassword.size()) == 0;
}

void SpendVerifyTime(std::string_view p_sPassword) {
    static const std::string noAccount = HashPassword(NewSessionToken());
    VerifyPassword(noAccount, p_sPassword);
}

std::string NewSessionToken() {
    InitialiseSodium();
    std::array<unsigned char, 32> bytes{};
    randombytes_buf(bytes.data(), bytes.size());
    std::array<char, bytes.size() * 2 + 1> text{};
    sodium_bin2hex(text.data(), text.size(), bytes.data(), bytes.size());
    return text.data();
}

}  // namespace qv::server
