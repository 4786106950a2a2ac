#include "distribution/engine/BackupImage.h"

#include <array>
#include <cstring>

namespace engine {
namespace {

constexpr char magic[] = "TDSEBAK1";
constexpr std::size_t magicSize = sizeof magic - 1;

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace

Bytes EncodeBackup(const BackupImage& image) {
    ByteWriter out;
    out.Append(std::string(magic, magicSize));
    out.U16Le(static_cast<std::uint16_t>(image.database.size()));
    out.Append(image.database);
    out.U64Le(image.content.size());
    out.Append(image.content);
    out.U32Le(Crc32(out.Data()));
    return out.Take();
}

std::variant<BackupImage, BackupDefect> DecodeBackup(std::span<const std::uint8_t> file) {
    if (file.size() < magicSize || std::memcmp(file.data(), magic, magicSize) != 0)
        return BackupDefect::NotABackup;
    ByteReader reader(file.subspan(magicSize));
    const auto nameLength = reader.U16Le();
    if (!nameLength)
        return BackupDefect::Damaged;
    const auto name = reader.Take(*nameLength);
    const auto contentLength = reader.U64Le();
    if (!name || name->empty() || !contentLength || *contentLength > reader.Remaining())
        return BackupDefect::Damaged;
    const auto content = *reader.Take(static_cast<std::size_t>(*contentLength));
    const std::size_t checked = magicSize + reader.Position();
    const auto crc = reader.U32Le();
    if (!crc || reader.Remaining() != 0 || *crc != Crc32(file.first(checked)))
        return BackupDefect::Damaged;
    return BackupImage{std::string(name->begin(), name->end()),
                       Bytes(content.begin(), content.end())};
}

} // namespace engine
