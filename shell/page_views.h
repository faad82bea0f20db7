// The pages the page area shows for what is not a list: what an address asks for in words, and
// the plain pages for an address that cannot be opened, for a page not built yet and for the
// news of a stock.
//
// Every page says something: a heading, what is wrong or what the page would show, and the keys
// the address gave. The texts can be selected and copied, so a person can quote them.
#pragma once

#include "shell/page_address.h"

#include <QString>

class QLabel;
class QWidget;

namespace qv {

// The parts every page is made of: a page with its heading (objectName "pageHeading") and
// nothing under it yet, and a line of selectable text added under what it holds.
QWidget* NewPageFrame(const QString& p_sHeading);
QLabel* NewPageText(const QString& p_sText, QWidget* p_pParent);
// A page's bold heading.
QLabel* NewPageHeading(const QString& p_sText, QWidget* p_pParent);
void AddPageLine(QWidget& p_oPage, const QString& p_sLine);

// What the page of p_oRequest shows, in words: "Stock QA on 12/4/2026", "Industry groups 12, 14".
QString PageSubject(const PageRequest& p_oRequest);

// What the page would show when built: "The prices, ratings and measures of stock QA on ...".
QString PageContents(const PageRequest& p_oRequest);

// An address that names no page, or not all that its page needs: p_sError and the address.
QWidget* NewErrorPage(const QString& p_sAddress, const QString& p_sError);

// A page that is not built yet: its name, what it would show and the keys of the address.
QWidget* NewPendingPage(const PageRequest& p_oRequest);

// The news of a stock. p_sNewsAddress is the address the "NewsURL" template made; a relative one
// means that no news source is configured, which the page says with the setting that would
// configure one. No headline is ever made up.
QWidget* NewNewsPage(const PageRequest& p_oRequest, const QString& p_sNewsAddress);

}  // namespace qv
