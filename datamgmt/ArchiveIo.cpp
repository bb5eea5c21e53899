#include "ArchiveIo.h"

#include "FileFaults.h"
#include "Lzrw1kh.h"

#include <cstring>
#include <istream>
#include <ostream>

namespace lumo
{

// --- ArchiveOutput --------------------------------------------------------------------------

void ArchiveOutput::createFile(const std::string& path)
{
    abandon();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        throw WriteFault("cannot create " + path);
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    position_ = 0;
}

void ArchiveOutput::useStream(std::ostream* stream)
{
    abandon();
    stream_ = stream;
    position_ = 0;
}

void ArchiveOutput::write(const void* data, std::size_t size)
{
    if (size == 0)
        return;
    if (!faults::allowWrite(size))
        throw WriteFault("write failed");
    if (file_) {
        if (std::fwrite(data, 1, size, file_) != size)
            throw WriteFault("write failed");
    } else if (stream_) {
        stream_->write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!*stream_)
            throw WriteFault("write failed");
    } else {
        throw WriteFault("no archive open");
    }
    position_ += static_cast<std::int64_t>(size);
}

void ArchiveOutput::writeInt32(std::int32_t value)
{
    const std::uint32_t v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 24)};
    write(bytes, 4);
}

void ArchiveOutput::close()
{
    if (file_) {
        std::FILE* f = file_;
        file_ = nullptr;
        const bool flushed = std::fflush(f) == 0 && !std::ferror(f);
        if (std::fclose(f) != 0 || !flushed)
            throw WriteFault("close failed");
    } else if (stream_) {
        std::ostream* s = stream_;
        stream_ = nullptr;
        s->flush();
        if (!*s)
            throw WriteFault("flush failed");
    }
}

void ArchiveOutput::abandon()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    stream_ = nullptr;
}

// --- ArchiveInput ---------------------------------------------------------------------------

bool ArchiveInput::openFile(const std::string& path)
{
    close();
    file_ = std::fopen(path.c_str(), "rb");
    offset_ = 0;
    return file_ != nullptr;
}

void ArchiveInput::useStream(std::istream* stream)
{
    close();
    stream_ = stream;
    offset_ = 0;
}

void ArchiveInput::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    stream_ = nullptr;
}

std::size_t ArchiveInput::readSome(void* data, std::size_t size)
{
    if (file_)
        return std::fread(data, 1, size, file_);
    if (stream_) {
        stream_->read(static_cast<char*>(data), static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(stream_->gcount());
    }
    return 0;
}

void ArchiveInput::read(void* data, std::size_t size)
{
    const std::size_t got = readSome(data, size);
    offset_ += got;
    if (got != size)
        throw ArchiveFault("unexpected end of archive", offset_);
}

std::int32_t ArchiveInput::readInt32()
{
    std::uint8_t b[4];
    read(b, 4);
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

std::string ArchiveInput::readBytes(std::size_t size)
{
    std::string text(size, '\0');
    if (size)
        read(&text[0], size);
    return text;
}

void ArchiveInput::skip(std::size_t size)
{
    // Reading rather than seeking finds a truncated archive where it ends.
    char scratch[4096];
    while (size > 0) {
        const std::size_t part = size < sizeof scratch ? size : sizeof scratch;
        read(scratch, part);
        size -= part;
    }
}

// --- zlib blocks ----------------------------------------------------------------------------

BlockDeflater::BlockDeflater(int level) : level_(level) {}

BlockDeflater::~BlockDeflater()
{
    if (ready_)
        deflateEnd(&stream_);
}

BlockDeflater::Result BlockDeflater::compress(const std::uint8_t* data, std::size_t size,
                                              std::uint8_t* out, std::size_t& outSize)
{
    if (!ready_) {
        stream_ = z_stream{};
        if (deflateInit2(&stream_, level_, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return Result::Failed;
        ready_ = true;
    } else if (deflateReset(&stream_) != Z_OK) {
        return Result::Failed;
    }
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(kArchiveBlockSize);
    const int rc = deflate(&stream_, Z_FINISH);
    if (rc == Z_STREAM_END) {
        outSize = kArchiveBlockSize - stream_.avail_out;
        return Result::Compressed;
    }
    if (rc == Z_OK || rc == Z_BUF_ERROR)
        return Result::TooLarge;
    return Result::Failed;
}

BlockInflater::BlockInflater() = default;

BlockInflater::~BlockInflater()
{
    if (ready_)
        inflateEnd(&stream_);
}

bool BlockInflater::inflateBlock(const std::uint8_t* data, std::size_t size, std::uint8_t* out,
                                 std::size_t& outSize)
{
    if (!ready_) {
        stream_ = z_stream{};
        if (inflateInit2(&stream_, 15) != Z_OK)
            return false;
        ready_ = true;
    } else if (inflateReset(&stream_) != Z_OK) {
        return false;
    }
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(kArchiveBlockSize);
    const int rc = inflate(&stream_, Z_NO_FLUSH);
    outSize = kArchiveBlockSize - stream_.avail_out;
    // Anything but one whole stream that fits the block (a longer result, a cut-off stream,
    // bytes after its end) is a damaged block.
    return rc == Z_STREAM_END && stream_.avail_in == 0;
}

// --- data sections --------------------------------------------------------------------------

namespace
{

void readEc2Section(ArchiveInput& in, const SectionWriter& writer, const SectionStep& step,
                    BlockInflater& inflater)
{
    std::vector<std::uint8_t> packed(kArchiveBlockSize);
    std::vector<std::uint8_t> plain(kArchiveBlockSize);
    for (;;) {
        const std::uint64_t blockOffset = in.offset();
        const std::int64_t n = in.readInt32();
        std::size_t decoded = 0;
        if (n != 0) {
            const std::uint64_t length = static_cast<std::uint64_t>(n < 0 ? -n : n);
            if (length > kArchiveBlockSize)
                throw ArchiveFault("block longer than 16384 bytes", blockOffset);
            if (writer) {
                in.read(packed.data(), length);
                if (n > 0) {
                    if (!inflater.inflateBlock(packed.data(), length, plain.data(), decoded))
                        throw CompressionFault("damaged compressed block", blockOffset);
                    writer(plain.data(), decoded);
                } else {
                    decoded = length;
                    writer(packed.data(), decoded);
                }
            } else {
                in.skip(length);
            }
        }
        if (!step(decoded, SectionKind::Ec2) || n == 0)
            return;
    }
}

void readEcsSection(ArchiveInput& in, const SectionWriter& writer, const SectionStep& step)
{
    std::int64_t remaining = in.readInt32();
    std::vector<std::uint8_t> chunk(kLzrw1khBufferSize);
    std::vector<std::uint8_t> plain(kLzrw1khBufferSize);
    bool goOn = true;
    while (remaining > 0 && goOn) {
        const std::uint64_t chunkOffset = in.offset();
        const std::int64_t m = in.readInt32();
        if (m < 1 || m > static_cast<std::int64_t>(kLzrw1khBufferSize) || m + 4 > remaining)
            throw ArchiveFault("bad chunk length", chunkOffset);
        std::size_t decoded = 0;
        if (writer) {
            in.read(chunk.data(), static_cast<std::size_t>(m));
            const auto result =
                LZRW1KHDecompress(chunk.data(), static_cast<std::uint16_t>(m), plain.data());
            if (!result)
                throw ArchiveFault("damaged LZRW1KH chunk", chunkOffset);
            decoded = *result;
            writer(plain.data(), decoded);
        } else {
            in.skip(static_cast<std::size_t>(m));
        }
        remaining -= m + 4;
        goOn = step(decoded, SectionKind::Ecs);
    }
}

} // namespace

SectionKind readDataSection(ArchiveInput& in, const SectionWriter& writer, const SectionStep& step,
                            BlockInflater& inflater)
{
    const std::uint64_t at = in.offset();
    char signature[4];
    in.read(signature, 4);
    // The signature is text up to its first zero byte.
    const std::string kind(signature, strnlen(signature, 4));
    if (kind == "EC2") {
        readEc2Section(in, writer, step, inflater);
        return SectionKind::Ec2;
    }
    if (kind == "ECS") {
        readEcsSection(in, writer, step);
        return SectionKind::Ecs;
    }
    throw UnknownSectionFault("Invalid archive type", at);
}

} // namespace lumo
