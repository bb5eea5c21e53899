// libFuzzer target: the LZRW1KH chunk decoder never reads or writes outside its buffers.

#include "Lzrw1kh.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 0xFFFF)
        return 0;
    // Exact-size copies, so that AddressSanitizer sees any step past either end.
    std::vector<std::uint8_t> chunk(data, data + size);
    std::vector<std::uint8_t> out(lumo::kLzrw1khBufferSize);
    const auto n =
        lumo::LZRW1KHDecompress(chunk.data(), static_cast<std::uint16_t>(size), out.data());
    if (n && *n > lumo::kLzrw1khBufferSize)
        std::abort();
    return 0;
}
