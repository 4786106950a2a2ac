#include "distribution/engine/BackupImage.h"

#include <gtest/gtest.h>

namespace {

using engine::BackupDefect;
using engine::BackupImage;
using engine::Bytes;

TEST(BackupImage, DecodesWhatItEncodes) {
    const Bytes file = engine::EncodeBackup({"zabo", Bytes{'a', 0, 'b'}});
    const auto decoded = engine::DecodeBackup(file);
    ASSERT_TRUE(std::holds_alternative<BackupImage>(decoded));
    EXPECT_EQ("zabo", std::get<BackupImage>(decoded).database);
    EXPECT_EQ((Bytes{'a', 0, 'b'}), std::get<BackupImage>(decoded).content);
}

TEST(BackupImage, TellsForeignFilesFromDamagedBackups) {
    const Bytes good = engine::EncodeBackup({"zabo", Bytes(100, 7)});
    Bytes flipped = good;
    flipped[40] ^= 1;
    Bytes longer = good;
    longer.push_back(0);
    Bytes hugeLength = good;
    hugeLength[14 + 7] = 0x7F; // the content length's top byte
    const struct {
        const char* what;
        Bytes file;
        BackupDefect defect;
    } cases[] = {
        {"empty", {}, BackupDefect::NotABackup},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
         BackupDefect::NotABackup},
        {"flipped content bit", flipped, BackupDefect::Damaged},
        {"truncated", Bytes(good.begin(), good.end() - 5), BackupDefect::Damaged},
        {"trailing byte", longer, BackupDefect::Damaged},
        {"content length past the end", hugeLength, BackupDefect::Damaged},
        {"magic only", Bytes(good.begin(), good.begin() + 8), BackupDefect::Damaged},
    };
    for (const auto& entry : cases) {
        const auto decoded = engine::DecodeBackup(entry.file);
        ASSERT_TRUE(std::holds_alternative<BackupDefect>(decoded)) << entry.what;
        EXPECT_EQ(entry.defect, std::get<BackupDefect>(decoded)) << entry.what;
    }
}

} // namespace
