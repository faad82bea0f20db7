#include "shell/connect_dialog.h"

#include "facade/remote_connection.h"
#include "outside/automation_error.h"
#include "outside/support_utility.h"
#include "outside/text_util.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <cstdlib>
#include <exception>

namespace qv {

namespace {

constexpr const char* kNameKey = "server/name";
constexpr const char* kAddressKey = "server/address";

// The "RemoteServer" setting keeps the host in capitals behind "HTTP://", whatever the scheme;
// the address as typed keeps an https scheme, and stands for the setting while it names the same
// host.
std::string SettingForm(const std::string& p_sAddress) {
    const size_t scheme = p_sAddress.find("://");
    const size_t hostAt = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t pathAt = p_sAddress.find('/', hostAt);
    return "HTTP://" + ToUpperAscii(p_sAddress.substr(hostAt, pathAt - hostAt));
}

}  // namespace

ServerLogin RememberedLogin() {
    const std::string setting = SupportUtility().RemoteServer();
    const std::string typed =
        WindowSettings()->value(QLatin1String(kAddressKey)).toString().toStdString();
    const bool sameHost = !setting.empty() && !typed.empty() && SettingForm(typed) == setting;
    return {sameHost ? typed : setting,
            WindowSettings()->value(QLatin1String(kNameKey)).toString().toStdString()};
}

void RememberLogin(const ServerLogin& p_oLogin) {
    WindowSettings()->setValue(QLatin1String(kNameKey), QString::fromStdString(p_oLogin.m_sName));
    WindowSettings()->setValue(QLatin1String(kAddressKey),
                               QString::fromStdString(ServerAddress(p_oLogin.m_sServer)));
}

std::optional<std::string> PasswordFromEnvironment() {
    const char* password = std::getenv("QV_PASSWORD");
    if (password == nullptr) {
        return std::nullopt;
    }
    return std::string(password);
}

std::string ServerAddress(const std::string& p_sTyped) {
    const std::string address(TrimWhitespace(p_sTyped));
    if (address.empty() || address.find("://") != std::string::npos) {
        return address;
    }
    return "http://" + address;
}

std::shared_ptr<facade::RemoteConnection> ConnectToServer(const ServerLogin& p_oLogin,
                                                          const std::string& p_sPassword) {
    auto connection = std::make_shared<facade::RemoteConnection>(ServerAddress(p_oLogin.m_sServer));
    connection->Login(p_oLogin.m_sName, p_sPassword);
    return connection;
}

ConnectDialog::ConnectDialog(const ServerLogin& p_oFilled, QWidget* p_pParent)
    : QDialog(p_pParent) {
    setWindowTitle(QStringLiteral("Connect to server"));
    setObjectName(QStringLiteral("connectDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Log in to a facade server to use its market, "
                                            "watch lists and portfolios."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_pServer = new QLineEdit(QString::fromStdString(p_oFilled.m_sServer), this);
    m_pServer->setObjectName(QStringLiteral("server"));
    m_pServer->setPlaceholderText(QStringLiteral("http://localhost:8750"));
    m_pName = new QLineEdit(QString::fromStdString(p_oFilled.m_sName), this);
    m_pName->setObjectName(QStringLiteral("name"));
    m_pPassword = new QLineEdit(this);
    m_pPassword->setObjectName(QStringLiteral("password"));
    m_pPassword->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Address:"), m_pServer);
    form->addRow(QStringLiteral("&Name:"), m_pName);
    form->addRow(QStringLiteral("&Password:"), m_pPassword);
    layout->addLayout(form);
    m_pMessage = new QLabel(this);
    m_pMessage->setObjectName(QStringLiteral("message"));
    m_pMessage->setWordWrap(true);
    m_pMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pMessage->setStyleSheet(QStringLiteral("color: #b00020"));
    m_pMessage->hide();
    layout->addWidget(m_pMessage);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* connectButton =
        buttons->addButton(QStringLiteral("Connect"), QDialogButtonBox::AcceptRole);
    connectButton->setObjectName(QStringLiteral("connect"));
    connectButton->setDefault(true);
    QPushButton* embedded =
        buttons->addButton(QStringLiteral("Use the embedded store"), QDialogButtonBox::ResetRole);
    embedded->setObjectName(QStringLiteral("useEmbedded"));
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ConnectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(embedded, &QPushButton::clicked, this, [this] { done(kEmbedded); });
    layout->addWidget(buttons);
    setMinimumWidth(440);
    // The first box a person still has to fill has the keys.
    QLineEdit* first = m_pServer->text().isEmpty() ? m_pServer
                       : m_pName->text().isEmpty() ? m_pName
                                                   : m_pPassword;
    first->setFocus(Qt::OtherFocusReason);
}

void ConnectDialog::SetMessage(const QString& p_sMessage) {
    m_pMessage->setText(p_sMessage);
    m_pMessage->setVisible(!p_sMessage.isEmpty());
}

QString ConnectDialog::Message() const {
    return m_pMessage->text();
}

ServerLogin ConnectDialog::Login() const {
    return {m_pServer->text().trimmed().toStdString(), m_pName->text().trimmed().toStdString()};
}

void ConnectDialog::accept() {
    const ServerLogin login = Login();
    if (login.m_sServer.empty() || login.m_sName.empty()) {
        SetMessage(login.m_sServer.empty() ? QStringLiteral("Enter the server's address.")
                                           : QStringLiteral("Enter the name to log in with."));
        (login.m_sServer.empty() ? m_pServer : m_pName)->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::string password = m_pPassword->text().toStdString();
    m_pPassword->clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_oConnection = ConnectToServer(login, password);
    } catch (const std::exception& error) {
        m_oConnection.reset();
        SetMessage(QString::fromStdString(ErrorText(error)));
    }
    QApplication::restoreOverrideCursor();
    if (!m_oConnection) {
        m_pPassword->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}

}  // namespace qv
