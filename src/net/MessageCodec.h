#pragma once
#include <cstddef>
#include <cstdint>

#include "net/Messages.h"
#include "net/WireWriter.h"

namespace net {

enum class DecodeResult {
    Ok,
    Empty,
    TooLong,
    OtherProtocol,  // the header's version is not ours
    UnknownType,
    Malformed,  // short, out of range, or bytes left over
};

// A message as bytes: a version byte, a type byte, then the body. False
// when the message holds a value its layout cannot carry (it is then not
// sent).
bool encodeMessage(const Message& message, WireWriter& out);

// A received message, checked to the last byte: every field in its range,
// every number in its shortest form, nothing left over. Any other buffer is
// refused and `message` is then unspecified. Reads only `size` bytes.
DecodeResult decodeMessage(const std::uint8_t* data, std::size_t size, Message& message);

// The version a Hello claims, read from a message of any version, so that a
// host can still refuse a machine that speaks another one.
bool peekHelloVersion(const std::uint8_t* data, std::size_t size, std::uint8_t& version);

}  // namespace net
