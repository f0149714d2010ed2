// Frames between the host's pipe transport (standing in for the filter driver) and the keyboard
// simulator, and between "TolkDeviceSim ctl" and the running simulator. Every frame is a 12-byte
// header (kind, a value, payload length; little-endian 32-bit words) and the payload.
//
//   Open       -> Reply(value 1 ok / 0 failed)
//   Close      -> Reply
//   Control    value = control code; payload = 4-byte reply length, then the request bytes
//              -> Reply(value 1/0, payload = reply bytes)
//   Command    payload = one command line of text -> Reply(value 1 when the last line is "ok",
//                                                         payload = the reply text)
// The simulator learns the host's process from the pipe and duplicates the semaphore handle of
// the register call out of it, as the driver does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class PipeFrameKind : uint32_t { Open = 1, Close = 2, Control = 3, Command = 4, Reply = 5 };

struct PipeFrame {
    PipeFrameKind kind;
    uint32_t value;
    std::vector<uint8_t> payload;
};

constexpr size_t kPipeHeaderSize = 12;
// No frame of this protocol comes near this; a longer length is garbage and ends the connection.
constexpr uint32_t kPipeMaxPayload = 64 * 1024;

std::vector<uint8_t> EncodePipeFrame(const PipeFrame& frame);

// The header's kind, value and payload length; nothing when the kind is unknown or the length
// exceeds kPipeMaxPayload.
struct PipeHeader {
    PipeFrameKind kind;
    uint32_t value;
    uint32_t length;
};
std::optional<PipeHeader> DecodePipeHeader(const uint8_t* bytes, size_t size);

// A whole frame from a buffer that holds exactly one; nothing when it is malformed.
std::optional<PipeFrame> DecodePipeFrame(const uint8_t* bytes, size_t size);

// Control frames: the reply length travels before the request bytes.
PipeFrame MakeControlFrame(uint32_t code, const uint8_t* request, uint32_t inLength, uint32_t outLength);
struct ControlRequest {
    uint32_t code;
    uint32_t outLength;
    std::vector<uint8_t> request;
};
std::optional<ControlRequest> ParseControlFrame(const PipeFrame& frame);
