#include "BlockCompressor.h"

#include <cerrno>
#include <unistd.h>

namespace lumo
{

BlockCompressor::BlockCompressor(int zlibLevel, unsigned threads) : level_(zlibLevel)
{
    if (threads == 0) {
        threads = std::thread::hardware_concurrency();
        if (threads == 0)
            threads = 1;
        if (threads > 8)
            threads = 8;
    }
    // A few blocks per thread keep every thread busy while the batch is written out.
    slots_.resize(threads == 1 ? 1 : threads * 4);
    for (CompressedBlock& slot : slots_) {
        slot.input.resize(kArchiveBlockSize);
        slot.output.resize(kArchiveBlockSize);
    }
    for (unsigned i = 0; i < threads; ++i)
        deflaters_.push_back(std::make_unique<BlockDeflater>(level_));
    for (unsigned i = 1; i < threads; ++i)
        workers_.emplace_back([this, i] { workerLoop(i); });
}

BlockCompressor::~BlockCompressor()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

void BlockCompressor::startFile(int fd, std::uint64_t size)
{
    fd_ = fd;
    remaining_ = size;
    ended_ = false;
    count_ = 0;
    next_ = 0;
}

const CompressedBlock* BlockCompressor::next()
{
    if (next_ >= count_) {
        fillBatch();
        if (count_ == 0)
            return nullptr;
    }
    return &slots_[next_++];
}

void BlockCompressor::fillBatch()
{
    count_ = 0;
    next_ = 0;
    while (count_ < slots_.size() && remaining_ > 0 && !ended_) {
        CompressedBlock& slot = slots_[count_];
        const std::size_t want = remaining_ < kArchiveBlockSize
                                     ? static_cast<std::size_t>(remaining_)
                                     : kArchiveBlockSize;
        std::size_t got = 0;
        while (got < want) {
            const ssize_t n = ::read(fd_, slot.input.data() + got, want - got);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw ReadFailure("read failed");
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        // A file that became shorter ends here rather than yield empty blocks.
        if (got < want)
            ended_ = true;
        if (got == 0)
            break;
        remaining_ -= got;
        slot.rawSize = got;
        ++count_;
    }
    if (count_ > 0)
        compressBatch();
}

void BlockCompressor::compressSlot(std::size_t index, BlockDeflater& deflater)
{
    CompressedBlock& slot = slots_[index];
    std::size_t outSize = 0;
    switch (deflater.compress(slot.input.data(), slot.rawSize, slot.output.data(), outSize)) {
    case BlockDeflater::Result::Compressed:
        slot.failed = false;
        slot.length = static_cast<std::int32_t>(outSize);
        break;
    case BlockDeflater::Result::TooLarge:
        slot.failed = false;
        slot.length = -static_cast<std::int32_t>(slot.rawSize);
        break;
    case BlockDeflater::Result::Failed:
        slot.failed = true;
        slot.length = 0;
        break;
    }
}

void BlockCompressor::compressBatch()
{
    if (workers_.empty() || count_ == 1) {
        for (std::size_t i = 0; i < count_; ++i)
            compressSlot(i, *deflaters_[0]);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        batchCount_ = count_;
        nextSlot_ = 0;
        finished_ = 0;
    }
    wake_.notify_all();
    // The caller's thread works on the batch too.
    for (;;) {
        std::size_t index;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (nextSlot_ >= batchCount_)
                break;
            index = nextSlot_++;
        }
        compressSlot(index, *deflaters_[0]);
        std::lock_guard<std::mutex> lock(mutex_);
        ++finished_;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return finished_ == batchCount_; });
}

void BlockCompressor::workerLoop(std::size_t workerIndex)
{
    std::uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_)
            return;
        seen = generation_;
        while (nextSlot_ < batchCount_) {
            const std::size_t index = nextSlot_++;
            lock.unlock();
            compressSlot(index, *deflaters_[workerIndex]);
            lock.lock();
            if (++finished_ == batchCount_)
                done_.notify_one();
        }
    }
}

} // namespace lumo
