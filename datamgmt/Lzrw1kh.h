#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace lumo
{

// Size of the chunk and output buffers of the LZRW1KH reader. No chunk may be longer and no
// chunk may decode to more bytes.
constexpr std::size_t kLzrw1khBufferSize = 32783;

// Decodes one LZRW1KH chunk of `sourceSize` bytes into `dest`, which must hold
// kLzrw1khBufferSize bytes.
//
// Chunk layout: a flag byte (0x80 = stored, the other bytes follow as they are), else a
// big-endian control word and items, 16 items per control word, most significant bit first:
// a 0 bit is a literal byte, a 1 bit a command. A command b0 b1 with offset b0*16 + (b1 >> 4)
// copies (b1 & 15) + 3 bytes from that many bytes back; offset 0 is a run b0 b1 b2 v that
// writes v (b1*256 + b2) + 16 times.
//
// Returns the number of bytes written, or nothing when the chunk is malformed: an item cut
// off by the chunk's end, a copy reaching before the start of the output, or output beyond
// the buffer. Nothing outside `source[0..sourceSize)` is read and nothing outside the buffer
// is written, whatever the chunk holds.
std::optional<std::uint16_t> LZRW1KHDecompress(const std::uint8_t* source, std::uint16_t sourceSize,
                                               std::uint8_t* dest);

} // namespace lumo
