// The window's page area: the page an address opened, under a bar with back and forward (as in a
// browser), the address in a read-only line a person can select and copy, and "Open in browser"
// where the address can be opened by a web browser.
//
// The area only shows; which page an address opens, and the history behind back and forward, are
// the router's (PageRouter).
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qv {

class PageArea : public QWidget {
  public:
    explicit PageArea(QWidget* p_pParent = nullptr);

    void SetOnBack(std::function<void()> p_fnBack) { m_fnBack = std::move(p_fnBack); }
    void SetOnForward(std::function<void()> p_fnForward) { m_fnForward = std::move(p_fnForward); }

    // Shows p_pPage, which the area takes, in place of the page before, which it deletes.
    // "Open in browser" opens p_sBrowserAddress, and is hidden when that is empty.
    void ShowPage(QWidget* p_pPage, const QString& p_sAddress, const QString& p_sBrowserAddress);
    void SetHistory(bool p_bCanGoBack, bool p_bCanGoForward);

    QWidget* Page() const { return m_pPage; }
    QString Address() const;
    const QString& BrowserAddress() const { return m_sBrowserAddress; }

  private:
    void OpenInBrowser() const;

    QToolButton* m_pBack;
    QToolButton* m_pForward;
    QLineEdit* m_pAddress;
    QPushButton* m_pBrowser;
    QScrollArea* m_pScroll;
    QWidget* m_pPage = nullptr;
    QString m_sBrowserAddress;
    std::function<void()> m_fnBack;
    std::function<void()> m_fnForward;
};

}  // namespace qv
