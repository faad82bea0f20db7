#include "columns/grid_layout.h"

#include "columns/layout_description.h"

namespace qv {

Variant GridLayout::LayoutInfo() const {
    return VariantArray::Vector({m_lId, m_sName, m_sDescription, m_lParentId, m_lOwnerId});
}

void GridLayout::SetLayoutInfo(const Variant& p_vLayoutInfo) {
    using namespace LayoutDescription;
    const VariantArray& header = FiveElements(p_vLayoutInfo, "the layout header");
    const int32_t id = ToLongNamed(header.At(0), "the layout id");
    std::string name = ToTextNamed(header.At(1), "the layout name");
    std::string description = ToTextNamed(header.At(2), "the layout's description");
    const int32_t parentId = ToLongNamed(header.At(3), "the parent layout id");
    const int32_t ownerId = ToLongNamed(header.At(4), "the layout's owner id");
    m_lId = id;
    m_sName = std::move(name);
    m_sDescription = std::move(description);
    m_lParentId = parentId;
    m_lOwnerId = ownerId;
}

}  // namespace qv
