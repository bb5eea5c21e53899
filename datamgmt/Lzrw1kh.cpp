#include "Lzrw1kh.h"

#include <cstring>

namespace lumo
{

std::optional<std::uint16_t> LZRW1KHDecompress(const std::uint8_t* source, std::uint16_t sourceSize,
                                               std::uint8_t* dest)
{
    const std::size_t size = sourceSize;
    if (size == 0 || size > kLzrw1khBufferSize)
        return std::nullopt;
    if (source[0] == 0x80) {
        std::memcpy(dest, source + 1, size - 1);
        return static_cast<std::uint16_t>(size - 1);
    }
    if (size < 3)
        return std::nullopt;

    unsigned control = (static_cast<unsigned>(source[1]) << 8) | source[2];
    int bitsLeft = 16;
    std::size_t x = 3; // next chunk byte
    std::size_t y = 0; // next output byte
    while (x < size) {
        if (bitsLeft == 0) {
            if (x + 2 > size)
                return std::nullopt;
            control = (static_cast<unsigned>(source[x]) << 8) | source[x + 1];
            x += 2;
            bitsLeft = 16;
            // A control word must announce at least one item.
            if (x >= size)
                return std::nullopt;
        }
        if ((control & 0x8000u) == 0) {
            if (y >= kLzrw1khBufferSize)
                return std::nullopt;
            dest[y++] = source[x++];
        } else {
            if (x + 2 > size)
                return std::nullopt;
            const std::size_t b0 = source[x];
            const std::size_t b1 = source[x + 1];
            const std::size_t offset = b0 * 16 + (b1 >> 4);
            if (offset != 0) {
                const std::size_t length = (b1 & 0x0F) + 3;
                if (offset > y || y + length > kLzrw1khBufferSize)
                    return std::nullopt;
                // Byte by byte in rising order: an offset below the length repeats the
                // bytes just written.
                for (std::size_t i = 0; i < length; ++i)
                    dest[y + i] = dest[y - offset + i];
                y += length;
                x += 2;
            } else {
                if (x + 4 > size)
                    return std::nullopt;
                const std::size_t count = b1 * 256 + source[x + 2] + 16;
                if (y + count > kLzrw1khBufferSize)
                    return std::nullopt;
                std::memset(dest + y, source[x + 3], count);
                y += count;
                x += 4;
            }
        }
        control = (control << 1) & 0xFFFFu;
        --bitsLeft;
    }
    return static_cast<std::uint16_t>(y);
}

} // namespace lumo
