#include "distribution/engine/Bytes.h"

namespace engine {

std::optional<std::uint8_t> ByteReader::U8() {
    if (Remaining() < 1)
        return std::nullopt;
    return m_data[m_position++];
}

std::optional<std::uint16_t> ByteReader::U16Le() {
    const auto bytes = Take(2);
    if (!bytes)
        return std::nullopt;
    return static_cast<std::uint16_t>((*bytes)[0] | ((*bytes)[1] << 8));
}

std::optional<std::uint16_t> ByteReader::U16Be() {
    const auto bytes = Take(2);
    if (!bytes)
        return std::nullopt;
    return static_cast<std::uint16_t>(((*bytes)[0] << 8) | (*bytes)[1]);
}

std::optional<std::uint32_t> ByteReader::U32Le() {
    const auto bytes = Take(4);
    if (!bytes)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | (*bytes)[i];
    return value;
}

std::optional<std::uint64_t> ByteReader::U64Le() {
    const auto bytes = Take(8);
    if (!bytes)
        return std::nullopt;
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | (*bytes)[i];
    return value;
}

std::optional<std::span<const std::uint8_t>> ByteReader::Take(std::size_t count) {
    if (Remaining() < count)
        return std::nullopt;
    const auto bytes = m_data.subspan(m_position, count);
    m_position += count;
    return bytes;
}

void ByteWriter::U16Le(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U16Be(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    m_bytes.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::U32Le(std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ByteWriter::U32Be(std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ByteWriter::U64Le(std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ByteWriter::Append(std::span<const std::uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ByteWriter::Append(const std::string& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ByteWriter::PatchU16Le(std::size_t position, std::uint16_t value) {
    m_bytes.at(position) = static_cast<std::uint8_t>(value);
    m_bytes.at(position + 1) = static_cast<std::uint8_t>(value >> 8);
}

} // namespace engine
