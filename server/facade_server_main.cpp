// qorvant-facade-server: serves a market database to remote viewers, and keeps its accounts.
//
//   qorvant-facade-server serve --db PATH_OR_URL [--listen HOST:PORT] [--threads N]
//                               [--tls-cert FILE --tls-key FILE] [--session-hours H] [--verbose]
//   qorvant-facade-server user add NAME [--owner ID] --db PATH_OR_URL
//   qorvant-facade-server user password NAME --db PATH_OR_URL
//
// The user commands read the password from the first line of standard input, so that it appears
// neither in the process list nor in the shell's history.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "facade/market_command.h"
#include "facade/market_store.h"
#include "facade/owner_authority.h"
#include "facade/owner_store.h"
#include "facade/session_store.h"
#include "facade/sql_database.h"
#include "outside/automation_error.h"
#include "server/facade_server.h"
#include "server/password_hash.h"

namespace {

using qv::facade::MarketStore;

constexpr const char* kUsage =
    "usage: qorvant-facade-server serve --db PATH_OR_URL [--listen HOST:PORT] [--threads N]\n"
    "                                   [--tls-cert FILE --tls-key FILE] [--session-hours H]\n"
    "                                   [--verbose]\n"
    "       qorvant-facade-server user add NAME [--owner ID] --db PATH_OR_URL\n"
    "       qorvant-facade-server user password NAME --db PATH_OR_URL\n"
    "       qorvant-facade-server market [--db PATH_OR_URL] COMMAND ...   (market --help)\n";

// A wrong command line: the message, then the usage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The market store behind --db: a PostgreSQL address or an SQLite file, created when missing and
// brought up to the current schema either way.
std::shared_ptr<MarketStore> OpenStore(
    const std::string& p_sDatabase,
    MarketStore::Access p_eAccess = MarketStore::Access::ReadWrite) {
    if (p_sDatabase.starts_with("postgresql://") || p_sDatabase.starts_with("postgres://")) {
        throw std::runtime_error(
            "this build of qorvant-facade-server cannot open PostgreSQL databases; give the path "
            "of a market file");
    }
    return qv::facade::OpenMarketFile(p_sDatabase, p_eAccess);
}

// The options after the positional words: --name value, and the flags that take none.
struct CommandLine {
    std::vector<std::string> m_aWords;
    std::map<std::string, std::string> m_options;
    bool m_bVerbose = false;

    std::optional<std::string> Option(const std::string& p_sName) const {
        const auto found = m_options.find(p_sName);
        return found == m_options.end() ? std::nullopt : std::optional(found->second);
    }
    std::string Required(const std::string& p_sName) const {
        const std::optional<std::string> value = Option(p_sName);
        if (!value || value->empty()) {
            throw UsageError("--" + p_sName + " is required");
        }
        return *value;
    }
};

CommandLine Parse(int p_lCount, char** p_aArgs) {
    CommandLine line;
    for (int index = 1; index < p_lCount; ++index) {
        const std::string word = p_aArgs[index];
        if (word == "--verbose") {
            line.m_bVerbose = true;
        } else if (word.starts_with("--")) {
            if (index + 1 >= p_lCount) {
                throw UsageError(word + " needs a value");
            }
            line.m_options[word.substr(2)] = p_aArgs[++index];
        } else {
            line.m_aWords.push_back(word);
        }
    }
    return line;
}

int ParseNumber(const std::string& p_sText, const std::string& p_sWhat, int p_lMin, int p_lMax) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(p_sText, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != p_sText.size() || p_sText.empty() || value < p_lMin || value > p_lMax) {
        throw UsageError(p_sWhat + " must be a whole number from " + std::to_string(p_lMin) +
                         " to " + std::to_string(p_lMax) + ", not \"" + p_sText + "\"");
    }
    return value;
}

// "HOST:PORT", the host of an IPv6 address in brackets.
void ParseListen(const std::string& p_sListen, qv::server::FacadeServerOptions& p_oOptions) {
    const size_t colon = p_sListen.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        throw UsageError("--listen takes HOST:PORT, not \"" + p_sListen + "\"");
    }
    std::string host = p_sListen.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    p_oOptions.m_sHost = host;
    p_oOptions.m_lPort = ParseNumber(p_sListen.substr(colon + 1), "the port", 0, 65535);
}

qv::server::FacadeServerOptions ServeOptions(const CommandLine& p_oLine) {
    qv::server::FacadeServerOptions options;
    ParseListen(p_oLine.Option("listen").value_or("127.0.0.1:8750"), options);
    if (const auto threads = p_oLine.Option("threads")) {
        options.m_lThreads = ParseNumber(*threads, "--threads", 1, 256);
    }
    options.m_sTlsCert = p_oLine.Option("tls-cert").value_or("");
    options.m_sTlsKey = p_oLine.Option("tls-key").value_or("");
    if (const auto hours = p_oLine.Option("session-hours")) {
        options.m_oSessionLifetime =
            std::chrono::hours{ParseNumber(*hours, "--session-hours", 1, 24 * 366)};
    }
    options.m_bVerbose = p_oLine.m_bVerbose;
    return options;
}

int Serve(const CommandLine& p_oLine) {
    const std::string database = p_oLine.Required("db");
    const qv::server::FacadeServerOptions options = ServeOptions(p_oLine);
    // Blocked before any thread starts, so that every thread inherits the mask and only the
    // stopper below takes the signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    // Opened once up front: a database that cannot be reached, or is of a newer schema, stops
    // the server before it listens, and an older one is migrated now rather than by a request.
    OpenStore(database);
    qv::server::FacadeServer server([database] { return OpenStore(database); }, options);
    const int port = server.Bind();
    std::printf("Serving %s on %s://%s:%d\n", database.c_str(), server.UsesTls() ? "https" : "http",
                options.m_sHost.c_str(), port);
    std::fflush(stdout);

    std::atomic<bool> served{false};
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&signals, &signal);
        // A signal that arrives before the server runs would otherwise be lost to it.
        while (!served) {
            server.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const bool ok = server.Serve();
    served = true;
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return ok ? 0 : 1;
}

std::string ReadPassword() {
    std::string password;
    std::getline(std::cin, password);
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    if (password.empty()) {
        throw std::runtime_error("no password on standard input");
    }
    return password;
}

int AddUser(const CommandLine& p_oLine, const std::string& p_sName) {
    const std::shared_ptr<MarketStore> store = OpenStore(p_oLine.Required("db"));
    qv::facade::SqlDatabase& database = store->Database();
    qv::facade::SessionStore accounts(database);
    qv::facade::OwnerStore owners(database);
    if (accounts.OwnerByName(p_sName)) {
        throw std::runtime_error("an owner named \"" + p_sName + "\" exists already");
    }
    const std::optional<std::string> given = p_oLine.Option("owner");
    const int32_t ownerId =
        given ? ParseNumber(*given, "--owner", 1, 2147483647) : accounts.NextOwnerId();
    if (const std::optional<std::string> holder = owners.OwnerName(ownerId)) {
        throw std::runtime_error("owner " + std::to_string(ownerId) + " exists already, as \"" +
                                 *holder + "\"");
    }
    qv::facade::CheckLoginName("user add", ownerId, p_sName,
                               owners.OtherHolderOfName(p_sName, ownerId));
    const std::string hash = qv::server::HashPassword(ReadPassword());
    qv::facade::SqlTransaction work(database);
    owners.PutOwner(ownerId, p_sName);
    accounts.SetPasswordHash(ownerId, hash);
    work.Commit();
    std::printf("Added owner %d, \"%s\"\n", ownerId, p_sName.c_str());
    return 0;
}

int SetPassword(const CommandLine& p_oLine, const std::string& p_sName) {
    const std::shared_ptr<MarketStore> store = OpenStore(p_oLine.Required("db"));
    qv::facade::SessionStore accounts(store->Database());
    const std::optional<int32_t> ownerId = accounts.OwnerByName(p_sName);
    if (!ownerId) {
        throw std::runtime_error("no owner is named \"" + p_sName + "\"");
    }
    accounts.SetPasswordHash(*ownerId, qv::server::HashPassword(ReadPassword()));
    const std::string name =
        qv::facade::OwnerStore(store->Database()).OwnerName(*ownerId).value_or(p_sName);
    std::printf("Set the password of owner %d, \"%s\"\n", *ownerId, name.c_str());
    return 0;
}

int Run(const CommandLine& p_oLine) {
    const std::vector<std::string>& words = p_oLine.m_aWords;
    if (words.size() == 1 && words[0] == "serve") {
        return Serve(p_oLine);
    }
    if (words.size() == 3 && words[0] == "user" && words[1] == "add") {
        return AddUser(p_oLine, words[2]);
    }
    if (words.size() == 3 && words[0] == "user" && words[1] == "password") {
        return SetPassword(p_oLine, words[2]);
    }
    throw UsageError(words.empty() ? "no command given" : "unknown command \"" + words[0] + "\"");
}

}  // namespace

int main(int p_lCount, char** p_aArgs) {
    // The market tool's commands, on a file or a PostgreSQL database.
    if (p_lCount > 1 && std::string_view(p_aArgs[1]) == "market") {
        const qv::facade::MarketCommand command{
            "qorvant-facade-server market", "PATH_OR_URL",
            [](const std::string& p_sDatabase, MarketStore::Access p_eAccess) {
                return OpenStore(p_sDatabase, p_eAccess);
            }};
        return qv::facade::RunMarketCommand(
            command, std::vector<std::string>(p_aArgs + 2, p_aArgs + p_lCount));
    }
    try {
        return Run(Parse(p_lCount, p_aArgs));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "qorvant-facade-server: %s\n%s", error.what(), kUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qorvant-facade-server: %s\n", qv::ErrorText(error).c_str());
        return 1;
    }
}
