#pragma once

#include "distribution/engine/Bytes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// TDS versions as LOGINACK states them; LOGIN7 carries the same numbers little-endian.
enum class TdsVersion : std::uint32_t {
    V7_1 = 0x71000001,
    V7_2 = 0x72090002,
    V7_3A = 0x730A0003,
    V7_3B = 0x730B0003,
    V7_4 = 0x74000004,
};

// The version this engine speaks with a client asking for `requested`: the same when the
// engine knows it, the newest it knows for anything newer, nothing for anything older.
std::optional<TdsVersion> NegotiateVersion(std::uint32_t requested);

// Status bits of the DONE tokens.
enum DoneStatus : std::uint16_t {
    doneFinal = 0x00,
    doneMore = 0x01,
    doneError = 0x02,
    doneCount = 0x10,
    doneAttention = 0x20,
};

enum class EnvChangeType : std::uint8_t {
    Database = 1,
    Language = 2,
    PacketSize = 4,
    Collation = 7,
    BeginTransaction = 8,
    CommitTransaction = 9,
    RollbackTransaction = 10,
    ResetConnection = 18,
};

// Which DONE token ends a statement: one of a batch, one inside a procedure, or the
// procedure itself.
enum class DoneToken : std::uint8_t { Batch = 0xFD, InProcedure = 0xFF, Procedure = 0xFE };

// A value of a literal or a parameter: NULL, an integer or a text.
using SqlValue = std::variant<std::monostate, std::int64_t, std::string>;

// A server message as INFO and ERROR tokens carry it.
struct ServerMessage {
    std::int32_t number = 0;
    std::uint8_t state = 1;
    std::uint8_t severity = 0; // 10 and below: informational
    std::string text;
};

// The collation the engine reports: code page 1252, case-insensitive, accent-sensitive.
inline constexpr std::uint8_t serverCollation[5] = {0x09, 0x04, 0xD0, 0x00, 0x34};

// Builds a token stream for one server reply in the layout of the negotiated version.
class TokenWriter {
public:
    TokenWriter(TdsVersion version, std::string serverName)
        : m_version(version), m_serverName(std::move(serverName)) {}

    void EnvChange(EnvChangeType type, const std::string& newValue, const std::string& oldValue);
    // A transaction's begin, commit or rollback, or a reset: the descriptors as binary, 0
    // for none.
    void BinaryEnvChange(EnvChangeType type, std::uint64_t newValue, std::uint64_t oldValue);
    void CollationChange();
    // An INFO token below severity 11, an ERROR token from 11 on.
    void Message(const ServerMessage& message);
    void LoginAck(const std::string& programName, const std::uint8_t (&programVersion)[4]);
    void Done(std::uint16_t status, std::uint16_t command = 0, std::uint64_t rows = 0,
              DoneToken token = DoneToken::Batch);
    void ReturnStatus(std::int32_t status);
    // An output parameter of type int, as procedures return prepared handles.
    void ReturnValue(std::uint16_t ordinal, const std::string& name, std::int32_t value);
    // One column holding one value: int or bigint for integers, NVARCHAR for texts, a
    // nullable int for NULL.
    void ValueColumn(const std::string& name, const SqlValue& value);
    void ValueRow(const SqlValue& value);
    // Result sets here are always columns of NVARCHAR(maxCharacters), never null; longer
    // values are cut to that length, as the column type would.
    void Columns(const std::vector<std::string>& names, std::uint16_t maxCharacters);
    void Row(const std::vector<std::string>& values);

    // Tokens the caller lays out itself.
    void Raw(std::span<const std::uint8_t> bytes) { m_out.Append(bytes); }

    Bytes Take() { return m_out.Take(); }

private:
    bool AtLeast72() const { return static_cast<std::uint32_t>(m_version) >= 0x72000000; }

    TdsVersion m_version;
    std::string m_serverName;
    std::uint16_t m_columnCharacters = 0;
    ByteWriter m_out;
};

} // namespace engine
