#pragma once
// Byte-level reading and writing of archives, shared by the archive component and the
// archive scanner. Internal to the archive library.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include <zlib.h>

namespace lumo
{

constexpr std::size_t kArchiveBlockSize = 16384;
// Longest stored name and title the reader accepts; anything longer is a damaged archive.
constexpr std::int32_t kMaxStoredNameLength = 65536;
constexpr std::int32_t kMaxTitleLength = 1 << 20;

// The archive ends early or holds something no writer produces.
class ArchiveFault : public std::runtime_error
{
public:
    ArchiveFault(const std::string& what, std::uint64_t offset)
        : std::runtime_error(what), offset(offset)
    {
    }
    std::uint64_t offset; // within the current volume
};

// A data section whose signature is neither "EC2" nor "ECS".
class UnknownSectionFault : public ArchiveFault
{
public:
    using ArchiveFault::ArchiveFault;
};

// zlib could not start a stream or decode a block.
class CompressionFault : public ArchiveFault
{
public:
    using ArchiveFault::ArchiveFault;
};

// The archive (or a file being restored) could not be written.
class WriteFault : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Appends to the current volume: a file of ours or a caller's stream.
class ArchiveOutput
{
public:
    ArchiveOutput() = default;
    ~ArchiveOutput() { abandon(); }
    ArchiveOutput(const ArchiveOutput&) = delete;
    ArchiveOutput& operator=(const ArchiveOutput&) = delete;

    void createFile(const std::string& path); // throws WriteFault
    void useStream(std::ostream* stream);
    bool isStream() const { return stream_ != nullptr; }
    void write(const void* data, std::size_t size); // throws WriteFault
    void writeInt32(std::int32_t value);
    // Bytes written into the current volume.
    std::int64_t position() const { return position_; }
    // Flushes and closes; a caller's stream is flushed and left open. Throws WriteFault.
    void close();
    void abandon();

private:
    std::FILE* file_ = nullptr;
    std::ostream* stream_ = nullptr;
    std::int64_t position_ = 0;
};

// Reads the current volume: a file of ours or a caller's stream.
class ArchiveInput
{
public:
    ArchiveInput() = default;
    ~ArchiveInput() { close(); }
    ArchiveInput(const ArchiveInput&) = delete;
    ArchiveInput& operator=(const ArchiveInput&) = delete;

    bool openFile(const std::string& path);
    void useStream(std::istream* stream);
    bool isStream() const { return stream_ != nullptr; }
    void close();

    // Each throws ArchiveFault when the archive ends first.
    void read(void* data, std::size_t size);
    std::int32_t readInt32();
    std::string readBytes(std::size_t size);
    void skip(std::size_t size);
    std::uint64_t offset() const { return offset_; }

private:
    std::size_t readSome(void* data, std::size_t size);

    std::FILE* file_ = nullptr;
    std::istream* stream_ = nullptr;
    std::uint64_t offset_ = 0;
};

// One reusable zlib deflate stream: level, deflate method, 15 window bits, memory level 8,
// default strategy. Resetting gives the same output as a fresh stream.
class BlockDeflater
{
public:
    explicit BlockDeflater(int level);
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    enum class Result { Compressed, TooLarge, Failed };
    // Compresses `size` (1..16384) bytes into `out` (16384 bytes) in one call with finish.
    Result compress(const std::uint8_t* data, std::size_t size, std::uint8_t* out,
                    std::size_t& outSize);

private:
    z_stream stream_{};
    int level_;
    bool ready_ = false;
};

// One reusable zlib inflate stream for 16384-byte blocks.
class BlockInflater
{
public:
    BlockInflater();
    ~BlockInflater();
    BlockInflater(const BlockInflater&) = delete;
    BlockInflater& operator=(const BlockInflater&) = delete;

    // True when `data` is exactly one complete zlib stream that inflates to at most 16384
    // bytes.
    bool inflateBlock(const std::uint8_t* data, std::size_t size, std::uint8_t* out,
                      std::size_t& outSize);

private:
    z_stream stream_{};
    bool ready_ = false;
};

enum class SectionKind { Ec2, Ecs };

// Called with the decoded bytes of each block of a section being restored.
using SectionWriter = std::function<void(const std::uint8_t* data, std::size_t size)>;
// Called after each block record (the closing one of an "EC2" section included) with the
// number of bytes decoded; returns whether to go on.
using SectionStep = std::function<bool(std::size_t decoded, SectionKind kind)>;

// Reads one data section. With a writer every block is decoded and checked; without one the
// blocks are passed over. Throws UnknownSectionFault, CompressionFault or ArchiveFault.
SectionKind readDataSection(ArchiveInput& in, const SectionWriter& writer, const SectionStep& step,
                            BlockInflater& inflater);

} // namespace lumo
