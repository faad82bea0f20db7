#include "shell/page_area.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qv {

namespace {

QToolButton* NewHistoryButton(QWidget* p_pParent, QStyle::StandardPixmap p_eIcon,
                              const QString& p_sName, const QString& p_sTip) {
    auto* button = new QToolButton(p_pParent);
    button->setObjectName(p_sName);
    button->setIcon(p_pParent->style()->standardIcon(p_eIcon));
    button->setToolTip(p_sTip);
    button->setAccessibleName(p_sTip);
    button->setEnabled(false);
    return button;
}

}  // namespace

PageArea::PageArea(QWidget* p_pParent)
    : QWidget(p_pParent),
      m_pBack(NewHistoryButton(this, QStyle::SP_ArrowBack, QStringLiteral("pageBack"),
                               QStringLiteral("Back to the page before"))),
      m_pForward(NewHistoryButton(this, QStyle::SP_ArrowForward, QStringLiteral("pageForward"),
                                  QStringLiteral("Forward to the next page"))),
      m_pAddress(new QLineEdit(this)),
      m_pBrowser(new QPushButton(QStringLiteral("Open in browser"), this)),
      m_pScroll(new QScrollArea(this)) {
    setObjectName(QStringLiteral("pageArea"));
    m_pAddress->setObjectName(QStringLiteral("pageAddress"));
    m_pAddress->setReadOnly(true);
    m_pAddress->setAccessibleName(QStringLiteral("Page address"));
    m_pBrowser->setObjectName(QStringLiteral("openInBrowser"));
    m_pBrowser->hide();
    m_pScroll->setWidgetResizable(true);
    m_pScroll->setFrameShape(QFrame::NoFrame);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_pBack);
    bar->addWidget(m_pForward);
    bar->addWidget(m_pAddress, 1);
    bar->addWidget(m_pBrowser);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_pScroll, 1);

    connect(m_pBack, &QToolButton::clicked, this, [this] {
        if (m_fnBack) {
            m_fnBack();
        }
    });
    connect(m_pForward, &QToolButton::clicked, this, [this] {
        if (m_fnForward) {
            m_fnForward();
        }
    });
    connect(m_pBrowser, &QPushButton::clicked, this, [this] { OpenInBrowser(); });
}

void PageArea::ShowPage(QWidget* p_pPage, const QString& p_sAddress,
                        const QString& p_sBrowserAddress) {
    // The scroll area deletes the page it held.
    m_pScroll->setWidget(p_pPage);
    m_pPage = p_pPage;
    m_pAddress->setText(p_sAddress);
    m_pAddress->setCursorPosition(0);
    m_sBrowserAddress = p_sBrowserAddress;
    m_pBrowser->setVisible(!p_sBrowserAddress.isEmpty());
    m_pBrowser->setToolTip(p_sBrowserAddress);
}

void PageArea::SetHistory(bool p_bCanGoBack, bool p_bCanGoForward) {
    m_pBack->setEnabled(p_bCanGoBack);
    m_pForward->setEnabled(p_bCanGoForward);
}

QString PageArea::Address() const {
    return m_pAddress->text();
}

void PageArea::OpenInBrowser() const {
    QDesktopServices::openUrl(QUrl(m_sBrowserAddress));
}

}  // namespace qv
