// Frames from the simulator's pipe come from another process: any bytes must decode to a clear
// answer, and what decodes must encode back to the same bytes.
#include "PipeProtocol.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::optional<PipeFrame> frame = DecodePipeFrame(data, size);
    if (!frame)
        return 0;
    std::vector<uint8_t> again = EncodePipeFrame(*frame);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();
    if (std::optional<ControlRequest> control = ParseControlFrame(*frame)) {
        std::vector<uint8_t> rebuilt =
            EncodePipeFrame(MakeControlFrame(control->code, control->request.data(),
                                             static_cast<uint32_t>(control->request.size()), control->outLength));
        if (rebuilt != again)
            std::abort();
    }
    return 0;
}
