// Starting another program, as a person's command does: the program's path and its arguments
// as a vector of words, each handed to the program as it stands. No shell reads them, so a word
// such as "A;rm -rf ~" or "$(x)" reaches the program as that text and runs nothing.
//
//     std::vector<std::string> args{"/w", "/id=7", "Symbol=IBM"};
//     PlatformContext::Current().Launcher().Start(folder / "Marlune.exe", args);
//
// The platform context's launcher spawns a process (posix_spawn) and does not wait for it; a
// test installs ScriptedProcessLauncher, which records what would have started.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv {

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts p_program with p_args (without the program itself as first word); a program that
    // cannot be started is an automation error naming it (53, file not found, or 5).
    virtual void Start(const std::filesystem::path& p_program,
                       const std::vector<std::string>& p_args) = 0;
};

class SpawnProcessLauncher : public ProcessLauncher {
  public:
    void Start(const std::filesystem::path& p_program,
               const std::vector<std::string>& p_args) override;
};

struct LaunchedProcess {
    std::filesystem::path Program;
    std::vector<std::string> Args;
};

class ScriptedProcessLauncher : public ProcessLauncher {
  public:
    void Start(const std::filesystem::path& p_program,
               const std::vector<std::string>& p_args) override {
        m_started.push_back({p_program, p_args});
    }
    const std::vector<LaunchedProcess>& Started() const { return m_started; }

  private:
    std::vector<LaunchedProcess> m_started;
};

}  // namespace qv
