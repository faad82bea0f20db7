// The header record of a saved layout: its id on the server, name, description, parent layout
// and owner. LayoutInfo is the same record as the header element of a layout description
// (outside/layout_description.h).
#pragma once

#include "outside/layout_description.h"
#include "outside/variant.h"

#include <cstdint>
#include <string>
#include <utility>

namespace qv {

class GridLayout {
  public:
    const std::string& Name() const { return m_sName; }
    void SetName(std::string p_sName) { m_sName = std::move(p_sName); }

    const std::string& Description() const { return m_sDescription; }
    void SetDescription(std::string p_sDescription) { m_sDescription = std::move(p_sDescription); }

    int32_t Id() const { return m_lId; }
    void SetId(int32_t p_lId) { m_lId = p_lId; }

    int32_t ParentId() const { return m_lParentId; }
    void SetParentId(int32_t p_lParentId) { m_lParentId = p_lParentId; }

    // The record as the header of a layout description.
    LayoutHeader Header() const {
        return {m_lId, m_sName, m_sDescription, m_lParentId, m_lOwnerId};
    }
    void SetHeader(const LayoutHeader& p_header);

    // A 0-based array of five values: id, name, description, parent id, owner id.
    Variant LayoutInfo() const;
    // Takes such an array; ids convert to 32-bit integers, name and description to text. A
    // value that is not such an array, or an element that does not convert, is an automation
    // error naming the element, and the record is left as it was.
    void SetLayoutInfo(const Variant& p_vLayoutInfo);

    int32_t OwnerId() const { return m_lOwnerId; }
    void SetOwnerId(int32_t p_lOwnerId) { m_lOwnerId = p_lOwnerId; }

  private:
    int32_t m_lId = 0;
    std::string m_sName;
    std::string m_sDescription;
    int32_t m_lParentId = 0;
    int32_t m_lOwnerId = 0;
};

}  // namespace qv
