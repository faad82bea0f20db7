#include "outside/popup_menu.h"

#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "outside/text_util.h"

namespace qv {

int32_t PopupMenu::Add(std::string_view p_sCaption, std::string_view p_sKey, int32_t p_lItemId,
                       int32_t p_lParent, bool p_bEnabled, std::string_view p_sTag) {
    if (p_lParent < 0 || p_lParent > Count()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "no menu item " + std::to_string(p_lParent) + " to add under");
    }
    m_items.push_back({std::string(p_sCaption), std::string(p_sKey), p_lItemId, p_lParent,
                       p_bEnabled, std::string(p_sTag)});
    return Count();
}

const PopupMenuItem& PopupMenu::Item(int32_t p_lIndex) const {
    if (p_lIndex < 1 || p_lIndex > Count()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange, "no menu item " + std::to_string(p_lIndex));
    }
    return m_items[static_cast<size_t>(p_lIndex - 1)];
}

std::vector<int32_t> PopupMenu::Children(int32_t p_lParent) const {
    std::vector<int32_t> children;
    for (int32_t index = 1; index <= Count(); ++index) {
        if (m_items[static_cast<size_t>(index - 1)].Parent == p_lParent) {
            children.push_back(index);
        }
    }
    return children;
}

bool PopupMenu::HasChildren(int32_t p_lIndex) const {
    for (const PopupMenuItem& item : m_items) {
        if (item.Parent == p_lIndex) {
            return true;
        }
    }
    return false;
}

int32_t PopupMenu::Find(std::string_view p_sPath) const {
    int32_t parent = 0;
    for (const std::string& caption : SplitText(p_sPath, '/')) {
        int32_t found = 0;
        for (const int32_t index : Children(parent)) {
            const PopupMenuItem& item = Item(index);
            if (!item.IsSeparator() && item.Caption == caption) {
                found = index;
                break;
            }
        }
        if (found == 0) {
            return 0;
        }
        parent = found;
    }
    return parent;
}

std::string PopupMenu::Describe() const {
    std::string text;
    DescribeLevel(0, 0, text);
    return text;
}

void PopupMenu::DescribeLevel(int32_t p_lParent, int p_iDepth, std::string& p_sOut) const {
    for (const int32_t index : Children(p_lParent)) {
        const PopupMenuItem& item = Item(index);
        p_sOut.append(static_cast<size_t>(p_iDepth) * 2, ' ');
        if (item.IsSeparator()) {
            p_sOut += "-\n";
            continue;
        }
        p_sOut += item.Caption + "|" + std::to_string(item.ItemId) + "|" + item.Tag;
        p_sOut += item.Enabled ? "\n" : "|off\n";
        DescribeLevel(index, p_iDepth + 1, p_sOut);
    }
}

int32_t PopupMenu::Show(const PopupAnchor& p_anchor) const {
    return PlatformContext::Current().Menus().Show(*this, p_anchor);
}

int32_t ScriptedPopupMenuPresenter::Show(const PopupMenu& p_oMenu, const PopupAnchor& p_anchor) {
    ShownPopupMenu shown{p_oMenu.Describe(), p_anchor, "", 0};
    if (!m_choices.empty()) {
        shown.Choice = std::move(m_choices.front());
        m_choices.pop_front();
    }
    const int32_t index = shown.Choice.empty() ? 0 : p_oMenu.Find(shown.Choice);
    if (index > 0 && p_oMenu.Item(index).Enabled && p_oMenu.ItemId(index) != 0) {
        shown.Chosen = index;
    }
    m_shown.push_back(shown);
    return shown.Chosen;
}

}  // namespace qv
