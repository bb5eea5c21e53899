#pragma once
// Reads a file in 16384-byte blocks and compresses them, a batch of blocks at a time, on a
// few threads. Blocks come out in file order and each is compressed on its own, so the bytes
// are those of a writer that compresses one block after the other. Internal to the archive
// library.

#include "ArchiveIo.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace lumo
{

struct CompressedBlock {
    std::size_t rawSize = 0; // bytes of the file in this block
    std::int32_t length = 0; // the block's record: > 0 compressed, < 0 stored
    bool failed = false;     // zlib could not compress it
    std::vector<std::uint8_t> input;
    std::vector<std::uint8_t> output;
    const std::uint8_t* bytes() const { return length > 0 ? output.data() : input.data(); }
};

class BlockCompressor
{
public:
    // `threads` 0 chooses by the machine.
    BlockCompressor(int zlibLevel, unsigned threads);
    ~BlockCompressor();
    BlockCompressor(const BlockCompressor&) = delete;
    BlockCompressor& operator=(const BlockCompressor&) = delete;

    // Starts a file: `fd` open for reading, `size` the byte count taken when it was opened.
    void startFile(int fd, std::uint64_t size);
    // Whether bytes of the file may remain (a file that shrank finds out on the next read).
    bool hasMore() const { return next_ < count_ || (remaining_ > 0 && !ended_); }
    // The next block, or null when the file has no more bytes. Throws ReadFailure.
    const CompressedBlock* next();

    class ReadFailure : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

private:
    void fillBatch();
    void compressSlot(std::size_t index, BlockDeflater& deflater);
    void workerLoop(std::size_t workerIndex);
    void compressBatch();

    int level_;
    std::vector<CompressedBlock> slots_;
    std::size_t count_ = 0; // blocks in the current batch
    std::size_t next_ = 0;  // next block to hand out
    int fd_ = -1;
    std::uint64_t remaining_ = 0;
    bool ended_ = false;

    // Workers: each batch has a generation number; workers take slots by index.
    std::vector<std::thread> workers_;
    std::vector<std::unique_ptr<BlockDeflater>> deflaters_; // [0] is the caller's
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::uint64_t generation_ = 0;
    std::size_t batchCount_ = 0; // count_ as the workers see it
    std::size_t nextSlot_ = 0;
    std::size_t finished_ = 0;
    bool stopping_ = false;
};

} // namespace lumo
