#pragma once

#include "distribution/engine/Bytes.h"

#include <span>
#include <string>
#include <variant>

namespace engine {

// A database as this engine backs it up and keeps it in its data folder: its name and its
// content. On disk: the magic "TDSEBAK1", a two-byte name length, the UTF-8 name, an
// eight-byte content length, the content, and the CRC-32 of everything before it
// (all lengths little-endian).
struct BackupImage {
    std::string database;
    Bytes content;
};

enum class BackupDefect {
    NotABackup, // no magic: some other file
    Damaged,    // the magic, but truncated, overlong or failing its checksum
};

Bytes EncodeBackup(const BackupImage& image);
std::variant<BackupImage, BackupDefect> DecodeBackup(std::span<const std::uint8_t> file);

} // namespace engine
