// File > Connect to server…: the address of a facade server, the name and the password to log in
// with. "Connect" logs in there and then; a login that fails (no server at the address, a wrong
// password, no answer in time) shows the client's message in the dialog, which stays open with
// what was typed, the password cleared. "Use the embedded store" goes back to the market file.
// The password is never kept: the dialog forgets it once it has tried it.
//
//     ConnectDialog dialog({"http://localhost:8750", "ada"}, window);
//     if (dialog.exec() == ConnectDialog::kConnected) {
//         session.UseServer(dialog.Connection());
//     }
#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace qv {

namespace facade {
class RemoteConnection;
}

// Where to log in, and as whom.
struct ServerLogin {
    std::string m_sServer;
    std::string m_sName;
};

// An address as a person types it ("localhost:8750"), with "http://" where it names no scheme.
std::string ServerAddress(const std::string& p_sTyped);

// The server of the "RemoteServer" setting (as last typed, so an https address stays one) and the
// name that last logged in there, kept in the window's settings; either empty when there is none.
ServerLogin RememberedLogin();
// Keeps the name and the address of a login; never the password.
void RememberLogin(const ServerLogin& p_oLogin);

// The password of QV_PASSWORD, for a start that asks no one; none when it is not set.
std::optional<std::string> PasswordFromEnvironment();

// A connection to p_oLogin's server, logged in with p_sPassword; the client's AutomationError
// when the login fails.
std::shared_ptr<facade::RemoteConnection> ConnectToServer(const ServerLogin& p_oLogin,
                                                          const std::string& p_sPassword);

class ConnectDialog : public QDialog {
  public:
    // exec()'s answers: Cancel, a connection made, or the embedded store chosen.
    static constexpr int kCancelled = QDialog::Rejected;
    static constexpr int kConnected = QDialog::Accepted;
    static constexpr int kEmbedded = 2;

    explicit ConnectDialog(const ServerLogin& p_oFilled, QWidget* p_pParent = nullptr);

    // A message shown from the start, such as why an earlier login failed.
    void SetMessage(const QString& p_sMessage);
    QString Message() const;
    // The address and name as typed.
    ServerLogin Login() const;
    // After kConnected: the connection, logged in.
    std::shared_ptr<facade::RemoteConnection> Connection() const { return m_oConnection; }

    // "Connect": logs in with what is typed; on success the dialog closes as kConnected.
    void accept() override;

  private:
    QLineEdit* m_pServer = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QLabel* m_pMessage = nullptr;
    std::shared_ptr<facade::RemoteConnection> m_oConnection;
};

}  // namespace qv
