#include "outside/process_launcher.h"

#include "outside/automation_error.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cstring>

extern char** environ;

namespace qv {

namespace {

constexpr int32_t kFileNotFound = 53;

// The programs started and not yet seen to end; each start reaps those that ended, so that no
// finished program lingers as a zombie while the viewer runs.
std::vector<pid_t>& Running() {
    static std::vector<pid_t> running;
    return running;
}

void ReapEnded() {
    std::vector<pid_t>& running = Running();
    std::erase_if(running, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

}  // namespace

void SpawnProcessLauncher::Start(const std::filesystem::path& p_program,
                                 const std::vector<std::string>& p_args) {
    ReapEnded();
    std::string program = p_program.string();
    std::vector<std::string> words;
    words.reserve(p_args.size() + 1);
    words.push_back(program);
    words.insert(words.end(), p_args.begin(), p_args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        throw AutomationError(error == ENOENT ? kFileNotFound : errors::kInvalidProcedureCall,
                              "ProcessLauncher",
                              "cannot start \"" + program + "\": " + std::strerror(error));
    }
    Running().push_back(pid);
}

}  // namespace qv
