#include "server_process.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace qv::server::test {

namespace {

// The first line the program prints: "Serving DATABASE on http://HOST:PORT". Empty when it ended
// without one.
std::string FirstLine(int p_lOutput) {
    std::string sLine;
    char c = 0;
    while (read(p_lOutput, &c, 1) == 1 && c != '\n') {
        sLine += c;
    }
    return sLine;
}

}  // namespace

ServerProcess::ServerProcess(std::string p_sDatabase) : m_sDatabase(std::move(p_sDatabase)) {
    Start(0);
}

ServerProcess::~ServerProcess() {
    Stop(SIGTERM);
}

void ServerProcess::Kill() {
    Stop(SIGKILL);
}

void ServerProcess::Restart() {
    Stop(SIGTERM);
    Start(m_lPort);
}

void ServerProcess::Start(int p_lPort) {
    int aPipe[2];
    if (pipe(aPipe) != 0) {
        throw std::runtime_error("no pipe for qorvant-facade-server's output");
    }
    const std::string sListen = "127.0.0.1:" + std::to_string(p_lPort);
    m_lPid = fork();
    if (m_lPid == 0) {
        // A test program that dies leaves no server behind.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(aPipe[1], STDOUT_FILENO);
        close(aPipe[0]);
        close(aPipe[1]);
        execl(QV_FACADE_SERVER_PROGRAM, "qorvant-facade-server", "serve", "--db",
              m_sDatabase.c_str(), "--listen", sListen.c_str(), "--threads", "4", nullptr);
        _exit(127);
    }
    close(aPipe[1]);
    m_lOutput = aPipe[0];
    const std::string sLine = FirstLine(m_lOutput);
    const size_t lAt = sLine.rfind(" on http://");
    if (m_lPid < 0 || lAt == std::string::npos) {
        Stop(SIGKILL);
        throw std::runtime_error("qorvant-facade-server did not start: \"" + sLine + "\"");
    }
    m_sAddress = sLine.substr(lAt + 4);
    m_lPort = std::stoi(m_sAddress.substr(m_sAddress.rfind(':') + 1));
}

void ServerProcess::Stop(int p_lSignal) {
    if (m_lPid > 0) {
        kill(m_lPid, p_lSignal);
        waitpid(m_lPid, nullptr, 0);
    }
    m_lPid = -1;
    if (m_lOutput >= 0) {
        close(m_lOutput);
    }
    m_lOutput = -1;
}

}  // namespace qv::server::test
