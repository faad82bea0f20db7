// Feeds arbitrary bytes to the decoders of the remote facade's messages, as a request and as a
// response, in JSON and in MessagePack, with small limits so that the fuzzer meets them. A malformed message must be refused
// with WireFormatError and nothing else; a message that was accepted must encode to a message
// that decodes again and encodes to the same text, so that nothing a call carries changes on a
// second trip.
#include "facade/wire_format.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace qv::facade;

const WireLimits kLimits{.m_lMaxBytes = 1 << 16, .m_iMaxDepth = 12};

template <class Decode, class Encode>
void CheckTrip(std::string_view p_sMessage, WireEncoding p_eEncoding, Decode p_fDecode,
               Encode p_fEncode) {
    std::string encoded;
    try {
        encoded = p_fEncode(p_fDecode(p_sMessage, p_eEncoding, kLimits), p_eEncoding);
    } catch (const WireFormatError&) {
        return;
    }
    Check(p_fEncode(p_fDecode(encoded, p_eEncoding, WireLimits{}), p_eEncoding) == encoded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    const std::string_view message(reinterpret_cast<const char*>(p_data), p_size);
    for (const WireEncoding encoding : {WireEncoding::Json, WireEncoding::MessagePack}) {
        CheckTrip(message, encoding, DecodeRequest, EncodeRequest);
        CheckTrip(message, encoding, DecodeResponse, EncodeResponse);
    }
    return 0;
}
