#pragma once
// Builds archive bytes by hand, field by field, for the archive tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <zlib.h>

namespace archivetest
{

// 2024-05-06 07:08:10 as an MS-DOS date-time.
constexpr std::int32_t kSomeDosTime =
    (((2024 - 1980) << 9 | 5 << 5 | 6) << 16) | (7 << 11 | 8 << 5 | 5);

class ArchiveBytes
{
public:
    ArchiveBytes& int32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>((u >> (8 * i)) & 0xFF));
        return *this;
    }
    ArchiveBytes& raw(const QByteArray& b)
    {
        bytes.append(b);
        return *this;
    }
    ArchiveBytes& text(const QByteArray& t)
    {
        return int32(static_cast<std::int32_t>(t.size())).raw(t);
    }
    ArchiveBytes& header(const QByteArray& title, std::int32_t total, std::int32_t count)
    {
        return text(title).int32(total).int32(count);
    }
    ArchiveBytes& entry(const QByteArray& name, std::int32_t dosTime)
    {
        return text(name).int32(dosTime);
    }
    ArchiveBytes& ec2() { return raw(QByteArray("EC2\0", 4)); }
    ArchiveBytes& ecs() { return raw(QByteArray("ECS\0", 4)); }
    // One zlib block: a stream of the given level (15 window bits, memory level 8).
    ArchiveBytes& zblock(const QByteArray& plain, int level)
    {
        return int32(static_cast<std::int32_t>(zlibStream(plain, level).size()))
            .raw(zlibStream(plain, level));
    }
    ArchiveBytes& stored(const QByteArray& plain)
    {
        return int32(-static_cast<std::int32_t>(plain.size())).raw(plain);
    }
    ArchiveBytes& end() { return int32(0); }
    ArchiveBytes& marker(int volume)
    {
        return text(QByteArray("NEXT:DISK") + QByteArray::number(volume).rightJustified(3, '0'));
    }

    static QByteArray zlibStream(const QByteArray& plain, int level)
    {
        uLongf size = compressBound(static_cast<uLong>(plain.size()));
        QByteArray out(static_cast<int>(size), '\0');
        compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(plain.constData()),
                  static_cast<uLong>(plain.size()), level);
        out.resize(static_cast<int>(size));
        return out;
    }

    QByteArray bytes;
};

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Bytes that zlib cannot make smaller.
inline QByteArray noise(int size, std::uint32_t seed = 1)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out[i] = static_cast<char>(seed >> 24);
    }
    return out;
}

// Text that compresses well.
inline QByteArray prose(int size)
{
    QByteArray out;
    int n = 0;
    while (out.size() < size)
        out += "row " + QByteArray::number(n++) + ": 3 rooms, 87.5 m2, south, 2150000\n";
    out.truncate(size);
    return out;
}

} // namespace archivetest
