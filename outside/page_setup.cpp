#include "outside/page_setup.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr std::array<uint8_t, 4> kMagic = {'Q', 'V', 'P', 'S'};
constexpr uint8_t kVersion = 1;
constexpr int32_t kInch = 1440;
constexpr size_t kValueCount = 7;

void PutLong(std::vector<uint8_t>& p_bytes, int32_t p_lValue) {
    const auto value = static_cast<uint32_t>(p_lValue);
    for (int shift = 0; shift < 32; shift += 8) {
        p_bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

int32_t GetLong(std::span<const uint8_t> p_block, size_t p_lAt) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(p_block[p_lAt + i]) << (8 * i);
    }
    return static_cast<int32_t>(value);
}

}  // namespace

bool PlausiblePageSetup(const PageSetup& p_setup) {
    const auto paper = [](int32_t size) { return size >= kInch && size <= 100 * kInch; };
    if (!paper(p_setup.PaperWidth) || !paper(p_setup.PaperHeight)) {
        return false;
    }
    if (p_setup.Orientation != vbPRORPortrait && p_setup.Orientation != vbPRORLandscape) {
        return false;
    }
    if (p_setup.LeftMargin < 0 || p_setup.TopMargin < 0 || p_setup.RightMargin < 0 ||
        p_setup.BottomMargin < 0) {
        return false;
    }
    const int64_t width = int64_t{p_setup.PageWidth()} - p_setup.LeftMargin - p_setup.RightMargin;
    const int64_t height = int64_t{p_setup.PageHeight()} - p_setup.TopMargin - p_setup.BottomMargin;
    return width >= kInch && height >= kInch;
}

std::vector<uint8_t> EncodePageSetup(const PageSetup& p_setup) {
    std::vector<uint8_t> bytes(kMagic.begin(), kMagic.end());
    bytes.push_back(kVersion);
    for (const int32_t value :
         {p_setup.PaperWidth, p_setup.PaperHeight, static_cast<int32_t>(p_setup.Orientation),
          p_setup.LeftMargin, p_setup.TopMargin, p_setup.RightMargin, p_setup.BottomMargin}) {
        PutLong(bytes, value);
    }
    const std::string name = p_setup.PaperName.substr(0, 255);
    bytes.push_back(static_cast<uint8_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    return bytes;
}

std::optional<PageSetup> DecodePageSetup(std::span<const uint8_t> p_block) {
    constexpr size_t kValuesAt = kMagic.size() + 1;
    constexpr size_t kNameAt = kValuesAt + 4 * kValueCount;
    if (p_block.size() <= kNameAt || !std::equal(kMagic.begin(), kMagic.end(), p_block.begin()) ||
        p_block[kMagic.size()] != kVersion) {
        return std::nullopt;
    }
    const size_t nameLength = p_block[kNameAt];
    if (p_block.size() != kNameAt + 1 + nameLength) {
        return std::nullopt;
    }
    PageSetup setup;
    setup.PaperWidth = GetLong(p_block, kValuesAt);
    setup.PaperHeight = GetLong(p_block, kValuesAt + 4);
    setup.Orientation = static_cast<PrinterOrientation>(GetLong(p_block, kValuesAt + 8));
    setup.LeftMargin = GetLong(p_block, kValuesAt + 12);
    setup.TopMargin = GetLong(p_block, kValuesAt + 16);
    setup.RightMargin = GetLong(p_block, kValuesAt + 20);
    setup.BottomMargin = GetLong(p_block, kValuesAt + 24);
    setup.PaperName.assign(p_block.begin() + kNameAt + 1, p_block.end());
    if (!PlausiblePageSetup(setup)) {
        return std::nullopt;
    }
    return setup;
}

bool PageSetupDialog::Accept(const PageSetup& p_setup) {
    if (!PlausiblePageSetup(p_setup)) {
        return false;
    }
    m_setup = p_setup;
    m_bCancelled = false;
    return true;
}

}  // namespace qv
