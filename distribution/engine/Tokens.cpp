#include "distribution/engine/Tokens.h"

#include "distribution/engine/Utf16.h"

#include <algorithm>
#include <limits>

namespace engine {
namespace {

enum TokenType : std::uint8_t {
    colMetadata = 0x81,
    error = 0xAA,
    info = 0xAB,
    loginAck = 0xAD,
    row = 0xD1,
    envChange = 0xE3,
    returnStatus = 0x79,
    returnValue = 0xAC,
};

constexpr std::uint16_t nvarcharType = 0xE7;
constexpr std::uint8_t intNType = 0x26;

// The bytes of an integer column: int when the value fits, bigint otherwise.
std::uint8_t IntegerSize(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()
               ? 4
               : 8;
}

// UTF-16 of a text cut to at most maxUnits code units, never inside a surrogate pair.
Bytes Utf16Limited(const std::string& text, std::size_t maxUnits) {
    Bytes units = Utf8ToUtf16Le(text);
    if (units.size() > 2 * maxUnits) {
        units.resize(2 * maxUnits);
        const std::uint16_t last =
            static_cast<std::uint16_t>(units[units.size() - 2] | (units.back() << 8));
        if (last >= 0xD800 && last <= 0xDBFF)
            units.resize(units.size() - 2);
    }
    return units;
}

void BVarchar(ByteWriter& out, const std::string& text) {
    const Bytes units = Utf16Limited(text, 255);
    out.U8(static_cast<std::uint8_t>(units.size() / 2));
    out.Append(units);
}

void UsVarchar(ByteWriter& out, const std::string& text, std::size_t maxUnits) {
    const Bytes units = Utf16Limited(text, maxUnits);
    out.U16Le(static_cast<std::uint16_t>(units.size() / 2));
    out.Append(units);
}

// Writes a token whose body follows a two-byte length.
template <typename Body> void LengthPrefixed(ByteWriter& out, std::uint8_t token, Body body) {
    ByteWriter inner;
    body(inner);
    out.U8(token);
    out.U16Le(static_cast<std::uint16_t>(inner.Size()));
    out.Append(inner.Data());
}

} // namespace

std::optional<TdsVersion> NegotiateVersion(std::uint32_t requested) {
    constexpr TdsVersion known[] = {TdsVersion::V7_4, TdsVersion::V7_3B, TdsVersion::V7_3A,
                                    TdsVersion::V7_2, TdsVersion::V7_1};
    if (requested >= static_cast<std::uint32_t>(TdsVersion::V7_4))
        return TdsVersion::V7_4;
    for (TdsVersion version : known)
        if (requested == static_cast<std::uint32_t>(version))
            return version;
    // Unknown minor numbers between known versions: answer with the next older one.
    for (TdsVersion version : known)
        if (requested > static_cast<std::uint32_t>(version))
            return version;
    return std::nullopt;
}

void TokenWriter::EnvChange(EnvChangeType type, const std::string& newValue,
                            const std::string& oldValue) {
    LengthPrefixed(m_out, envChange, [&](ByteWriter& body) {
        body.U8(static_cast<std::uint8_t>(type));
        BVarchar(body, newValue);
        BVarchar(body, oldValue);
    });
}

void TokenWriter::BinaryEnvChange(EnvChangeType type, std::uint64_t newValue,
                                  std::uint64_t oldValue) {
    LengthPrefixed(m_out, envChange, [&](ByteWriter& body) {
        body.U8(static_cast<std::uint8_t>(type));
        for (const std::uint64_t value : {newValue, oldValue}) {
            body.U8(value == 0 ? 0 : 8);
            if (value != 0)
                body.U64Le(value);
        }
    });
}

void TokenWriter::CollationChange() {
    LengthPrefixed(m_out, envChange, [&](ByteWriter& body) {
        body.U8(static_cast<std::uint8_t>(EnvChangeType::Collation));
        body.U8(sizeof serverCollation);
        body.Append(serverCollation);
        body.U8(0);
    });
}

void TokenWriter::Message(const ServerMessage& message) {
    LengthPrefixed(m_out, message.severity > 10 ? error : info, [&](ByteWriter& body) {
        body.U32Le(static_cast<std::uint32_t>(message.number));
        body.U8(message.state);
        body.U8(message.severity);
        // Longer texts would not fit the token's two-byte length with the rest.
        UsVarchar(body, message.text, 4000);
        BVarchar(body, m_serverName);
        BVarchar(body, "");
        if (AtLeast72())
            body.U32Le(1);
        else
            body.U16Le(1);
    });
}

void TokenWriter::LoginAck(const std::string& programName,
                           const std::uint8_t (&programVersion)[4]) {
    LengthPrefixed(m_out, loginAck, [&](ByteWriter& body) {
        body.U8(1); // the interface: Transact-SQL
        body.U32Be(static_cast<std::uint32_t>(m_version));
        BVarchar(body, programName);
        body.Append(programVersion);
    });
}

void TokenWriter::Done(std::uint16_t status, std::uint16_t command, std::uint64_t rows,
                       DoneToken token) {
    m_out.U8(static_cast<std::uint8_t>(token));
    m_out.U16Le(status);
    m_out.U16Le(command);
    if (AtLeast72())
        m_out.U64Le(rows);
    else
        m_out.U32Le(static_cast<std::uint32_t>(rows));
}

void TokenWriter::Columns(const std::vector<std::string>& names, std::uint16_t maxCharacters) {
    m_columnCharacters = maxCharacters;
    m_out.U8(colMetadata);
    m_out.U16Le(static_cast<std::uint16_t>(names.size()));
    for (const std::string& name : names) {
        if (AtLeast72())
            m_out.U32Le(0);
        else
            m_out.U16Le(0);
        m_out.U16Le(0x0000); // flags: not nullable, read-only
        m_out.U8(static_cast<std::uint8_t>(nvarcharType));
        m_out.U16Le(static_cast<std::uint16_t>(2 * maxCharacters));
        m_out.Append(serverCollation);
        BVarchar(m_out, name);
    }
}

void TokenWriter::Row(const std::vector<std::string>& values) {
    m_out.U8(row);
    for (const std::string& value : values) {
        const Bytes units = Utf16Limited(value, m_columnCharacters);
        m_out.U16Le(static_cast<std::uint16_t>(units.size()));
        m_out.Append(units);
    }
}

} // namespace engine

namespace engine {

void TokenWriter::ReturnStatus(std::int32_t status) {
    m_out.U8(returnStatus);
    m_out.U32Le(static_cast<std::uint32_t>(status));
}

void TokenWriter::ReturnValue(std::uint16_t ordinal, const std::string& name, std::int32_t value) {
    m_out.U8(returnValue);
    m_out.U16Le(ordinal);
    BVarchar(m_out, name);
    m_out.U8(0x01); // an output parameter
    if (AtLeast72())
        m_out.U32Le(0);
    else
        m_out.U16Le(0);
    m_out.U16Le(0x0001); // flags: nullable
    m_out.U8(intNType);
    m_out.U8(4);
    m_out.U8(4);
    m_out.U32Le(static_cast<std::uint32_t>(value));
}

void TokenWriter::ValueColumn(const std::string& name, const SqlValue& value) {
    m_out.U8(colMetadata);
    m_out.U16Le(1);
    if (AtLeast72())
        m_out.U32Le(0);
    else
        m_out.U16Le(0);
    if (const auto* text = std::get_if<std::string>(&value)) {
        m_out.U16Le(0x0000);
        m_out.U8(static_cast<std::uint8_t>(nvarcharType));
        m_columnCharacters =
            static_cast<std::uint16_t>(std::clamp<std::size_t>(text->size(), 1, 4000));
        m_out.U16Le(static_cast<std::uint16_t>(2 * m_columnCharacters));
        m_out.Append(serverCollation);
    } else {
        const auto* integer = std::get_if<std::int64_t>(&value);
        m_out.U16Le(integer ? 0x0000 : 0x0001);
        m_out.U8(intNType);
        m_out.U8(integer ? IntegerSize(*integer) : 4);
    }
    BVarchar(m_out, name);
}

void TokenWriter::ValueRow(const SqlValue& value) {
    m_out.U8(row);
    if (const auto* text = std::get_if<std::string>(&value)) {
        const Bytes units = Utf16Limited(*text, m_columnCharacters);
        m_out.U16Le(static_cast<std::uint16_t>(units.size()));
        m_out.Append(units);
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        const std::uint8_t size = IntegerSize(*integer);
        m_out.U8(size);
        if (size == 4)
            m_out.U32Le(static_cast<std::uint32_t>(*integer));
        else
            m_out.U64Le(static_cast<std::uint64_t>(*integer));
    } else {
        m_out.U8(0);
    }
}

} // namespace engine
