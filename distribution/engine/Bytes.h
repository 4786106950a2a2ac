#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace engine {

using Bytes = std::vector<std::uint8_t>;

// Reads integers and byte runs from a buffer; every read is bounds-checked and a read past
// the end yields nothing instead of touching memory it does not own.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    std::optional<std::uint8_t> U8();
    std::optional<std::uint16_t> U16Le();
    std::optional<std::uint16_t> U16Be();
    std::optional<std::uint32_t> U32Le();
    std::optional<std::uint64_t> U64Le();
    std::optional<std::span<const std::uint8_t>> Take(std::size_t count);

    std::size_t Position() const { return m_position; }
    std::size_t Remaining() const { return m_data.size() - m_position; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

// Appends integers and byte runs in the byte orders the wire formats use.
class ByteWriter {
public:
    void U8(std::uint8_t value) { m_bytes.push_back(value); }
    void U16Le(std::uint16_t value);
    void U16Be(std::uint16_t value);
    void U32Le(std::uint32_t value);
    void U32Be(std::uint32_t value);
    void U64Le(std::uint64_t value);
    void Append(std::span<const std::uint8_t> bytes);
    void Append(const std::string& bytes);
    // Overwrites two bytes written earlier, for lengths known only afterwards.
    void PatchU16Le(std::size_t position, std::uint16_t value);

    std::size_t Size() const { return m_bytes.size(); }
    const Bytes& Data() const { return m_bytes; }
    Bytes Take() { return std::move(m_bytes); }

private:
    Bytes m_bytes;
};

} // namespace engine
