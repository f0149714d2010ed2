#include "PipeProtocol.h"

#include <cstring>

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

std::vector<uint8_t> EncodePipeFrame(const PipeFrame& frame)
{
    std::vector<uint8_t> out;
    out.reserve(kPipeHeaderSize + frame.payload.size());
    Put32(out, static_cast<uint32_t>(frame.kind));
    Put32(out, frame.value);
    Put32(out, static_cast<uint32_t>(frame.payload.size()));
    out.insert(out.end(), frame.payload.begin(), frame.payload.end());
    return out;
}

std::optional<PipeHeader> DecodePipeHeader(const uint8_t* bytes, size_t size)
{
    if (!bytes || size < kPipeHeaderSize)
        return std::nullopt;
    uint32_t kind = Get32(bytes);
    uint32_t length = Get32(bytes + 8);
    if (kind < static_cast<uint32_t>(PipeFrameKind::Open) || kind > static_cast<uint32_t>(PipeFrameKind::Reply))
        return std::nullopt;
    if (length > kPipeMaxPayload)
        return std::nullopt;
    return PipeHeader{static_cast<PipeFrameKind>(kind), Get32(bytes + 4), length};
}

std::optional<PipeFrame> DecodePipeFrame(const uint8_t* bytes, size_t size)
{
    std::optional<PipeHeader> header = DecodePipeHeader(bytes, size);
    if (!header || size != kPipeHeaderSize + header->length)
        return std::nullopt;
    PipeFrame frame{header->kind, header->value, {}};
    frame.payload.assign(bytes + kPipeHeaderSize, bytes + size);
    return frame;
}

PipeFrame MakeControlFrame(uint32_t code, const uint8_t* request, uint32_t inLength, uint32_t outLength)
{
    PipeFrame frame{PipeFrameKind::Control, code, {}};
    const size_t requestLength = request ? inLength : 0;
    frame.payload.reserve(4 + requestLength);
    Put32(frame.payload, outLength);
    frame.payload.resize(4 + requestLength);
    if (requestLength)
        std::memcpy(frame.payload.data() + 4, request, requestLength);
    return frame;
}

std::optional<ControlRequest> ParseControlFrame(const PipeFrame& frame)
{
    if (frame.kind != PipeFrameKind::Control || frame.payload.size() < 4)
        return std::nullopt;
    ControlRequest req{frame.value, Get32(frame.payload.data()), {}};
    if (req.outLength > kPipeMaxPayload)
        return std::nullopt;
    req.request.assign(frame.payload.begin() + 4, frame.payload.end());
    return req;
}
