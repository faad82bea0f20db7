#include "columns/grid_layout.h"

namespace qv {

void GridLayout::SetHeader(const LayoutHeader& p_header) {
    m_lId = p_header.Id;
    m_sName = p_header.Name;
    m_sDescription = p_header.Description;
    m_lParentId = p_header.ParentId;
    m_lOwnerId = p_header.OwnerId;
}

Variant GridLayout::LayoutInfo() const {
    return layout_codec::HeaderToVariant(Header());
}

void GridLayout::SetLayoutInfo(const Variant& p_vLayoutInfo) {
    SetHeader(layout_codec::ParseHeader(p_vLayoutInfo));
}

}  // namespace qv
