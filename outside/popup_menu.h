// The popup-menu component: a menu of items built in code, shown at a point, that reports the
// item a person chose.
//
// Items are added in order with a caption, a key (unused, kept for the component's callers), an
// id, a parent (0 for the top level, else the index Add returned for the parent), an enabled flag
// and a tag; Add returns the new item's index, counted from 1. An item with id 0 heads a submenu
// and does nothing itself; one with id 0 and the caption "-" is a separator.
//
// Showing goes through the platform context's PopupMenuPresenter: the desktop shell pops up a
// menu, a process without a display chooses nothing, and a test scripts the choice by the
// captions that lead to the item:
//
//     PopupMenu menu;
//     const int32_t graphs = menu.Add("View Multiple Graphs", "", 0, 0, true, "");
//     menu.Add("Industry", "", 20, graphs, true, "");
//     platform.Menus().QueueChoice("View Multiple Graphs/Industry");
//     const int32_t chosen = menu.Show({&control, x, y});   // the index of "Industry"
//     if (chosen > 0) { Act(menu.ItemId(chosen), menu.ItemTag(chosen)); }
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class GridControl;

struct PopupMenuItem {
    std::string Caption;
    std::string Key;
    int32_t ItemId = 0;
    int32_t Parent = 0;
    bool Enabled = true;
    std::string Tag;

    bool IsSeparator() const { return ItemId == 0 && Caption == "-"; }
};

// Where a menu is shown: a point of a grid control, in twips from its top left corner. Without a
// control the presenter shows it where the pointer is.
struct PopupAnchor {
    const GridControl* Control = nullptr;
    int32_t X = 0;
    int32_t Y = 0;
};

class PopupMenu {
  public:
    // p_lParent must be 0 or the index of an item already added (error 9 otherwise).
    int32_t Add(std::string_view p_sCaption, std::string_view p_sKey, int32_t p_lItemId,
                int32_t p_lParent, bool p_bEnabled, std::string_view p_sTag);
    void Clear() { m_items.clear(); }

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    // p_lIndex from 1 to Count (error 9 otherwise).
    const PopupMenuItem& Item(int32_t p_lIndex) const;
    int32_t ItemId(int32_t p_lIndex) const { return Item(p_lIndex).ItemId; }
    const std::string& ItemTag(int32_t p_lIndex) const { return Item(p_lIndex).Tag; }
    // The indexes of the items under p_lParent (0: the top level), in order.
    std::vector<int32_t> Children(int32_t p_lParent) const;
    bool HasChildren(int32_t p_lIndex) const;

    // The index of the item the captions of p_sPath lead to ("View Multiple Graphs/Industry"),
    // separators skipped; 0 when there is none.
    int32_t Find(std::string_view p_sPath) const;
    // The menu as text, an item a line, indented two blanks per level: "caption|id|tag", with
    // "|off" after a disabled item; a separator is "-".
    std::string Describe() const;

    // Shows the menu through the current platform's presenter; the chosen item's index, or 0.
    int32_t Show(const PopupAnchor& p_anchor) const;

  private:
    void DescribeLevel(int32_t p_lParent, int p_iDepth, std::string& p_sOut) const;

    std::vector<PopupMenuItem> m_items;
};

class PopupMenuPresenter {
  public:
    virtual ~PopupMenuPresenter() = default;
    // Shows p_oMenu at p_anchor until a person chooses an item or closes it; the chosen item's
    // index, or 0. Only enabled items that are not submenu headers or separators are chosen.
    virtual int32_t Show(const PopupMenu& p_oMenu, const PopupAnchor& p_anchor) = 0;
};

// Without a display nothing is shown and nothing is chosen.
class HeadlessPopupMenuPresenter : public PopupMenuPresenter {
  public:
    int32_t Show(const PopupMenu&, const PopupAnchor&) override { return 0; }
};

struct ShownPopupMenu {
    // PopupMenu::Describe of the menu shown.
    std::string Menu;
    PopupAnchor Anchor;
    // The path chosen ("" for none) and the index it led to (0 for none).
    std::string Choice;
    int32_t Chosen = 0;
};

// A test's presenter: each menu shown takes the next queued caption path; an empty path, an empty
// queue, or a path to no item, a disabled item or a submenu header chooses nothing.
class ScriptedPopupMenuPresenter : public PopupMenuPresenter {
  public:
    void QueueChoice(std::string p_sPath) { m_choices.push_back(std::move(p_sPath)); }
    int32_t Show(const PopupMenu& p_oMenu, const PopupAnchor& p_anchor) override;

    const std::vector<ShownPopupMenu>& Shown() const { return m_shown; }
    size_t PendingChoices() const { return m_choices.size(); }

  private:
    std::deque<std::string> m_choices;
    std::vector<ShownPopupMenu> m_shown;
};

}  // namespace qv
