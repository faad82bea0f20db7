// A qorvant-facade-server program serving a database on a loopback port, as a person starts it.
// The program is the one CMake built (QV_FACADE_SERVER_PROGRAM); it dies with the test program,
// and is stopped with this object.
//
//     ServerProcess server(schema.Url());
//     RemoteConnection connection(server.Address());
#pragma once

#include <sys/types.h>

#include <string>

namespace qv::server::test {

class ServerProcess {
  public:
    // Starts serving p_sDatabase on a free port; throws when the program does not start.
    explicit ServerProcess(std::string p_sDatabase);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // "http://127.0.0.1:PORT".
    const std::string& Address() const { return m_sAddress; }
    // Ends the program at once (SIGKILL), as a crash would.
    void Kill();
    // Starts the program again on the port it had.
    void Restart();

  private:
    void Start(int p_lPort);
    void Stop(int p_lSignal);

    std::string m_sDatabase;
    std::string m_sAddress;
    int m_lPort = 0;
    pid_t m_lPid = -1;
    int m_lOutput = -1;  // the read end of the program's standard output
};

}  // namespace qv::server::test
