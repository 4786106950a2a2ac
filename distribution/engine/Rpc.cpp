#include "distribution/engine/Rpc.h"

#include "distribution/engine/SqlLexer.h"
#include "distribution/engine/Utf16.h"

#include <cctype>
#include <cstdio>
#include <optional>

namespace engine {
namespace {

constexpr std::uint8_t batchFlag = 0x80;
constexpr std::uint8_t noExecFlag = 0xFF;
constexpr std::uint16_t procedureById = 0xFFFF;
constexpr std::uint8_t byRefValue = 0x01;
constexpr std::uint64_t plpNull = ~std::uint64_t{0};
constexpr std::uint64_t plpUnknownLength = ~std::uint64_t{0} - 1;
// Texts longer than this are not statements any client sends here.
constexpr std::uint64_t maxText = std::uint64_t{1} << 20;

struct Known {
    ProcedureId id;
    const char* name;
};
constexpr Known knownProcedures[] = {
    {ProcedureId::ExecuteSql, "sp_executesql"}, {ProcedureId::Prepare, "sp_prepare"},
    {ProcedureId::Execute, "sp_execute"},       {ProcedureId::PrepExec, "sp_prepexec"},
    {ProcedureId::Unprepare, "sp_unprepare"},
};

ServerMessage Incorrect(const std::string& detail) {
    return {8009, 1, 16,
            "The incoming tabular data stream (TDS) remote procedure call (RPC) protocol stream "
            "is incorrect. " +
                detail};
}

// Single-byte text: ASCII passes, other bytes are taken as Latin-1.
std::string Latin1ToUtf8(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::int64_t SignedLe(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = (value << 8) | bytes[i];
    const unsigned bits = static_cast<unsigned>(8 * bytes.size());
    if (bits < 64 && (value >> (bits - 1)) != 0)
        value |= ~std::uint64_t{0} << bits;
    return static_cast<std::int64_t>(value);
}

// Reads one parameter value after its TYPE_INFO; nothing when the bytes do not hold it.
class ValueReader {
public:
    explicit ValueReader(ByteReader& in) : m_in(in) {}

    std::optional<SqlValue> Read(std::uint8_t type) {
        switch (type) {
        case 0x30: // tinyint: unsigned
            return Fixed(1, false);
        case 0x32: // bit
            return Fixed(1, false);
        case 0x34:
            return Fixed(2, true);
        case 0x38:
            return Fixed(4, true);
        case 0x7F:
            return Fixed(8, true);
        case 0x26: // intn
        case 0x68: // bitn
            return Sized(type == 0x26);
        case 0xE7: // nvarchar
        case 0xEF: // nchar
        case 0xA7: // varchar
        case 0xAF: // char
            return Text(type == 0xE7 || type == 0xEF);
        case 0x63: // ntext
        case 0x23: // text
            return LongText(type == 0x63);
        default:
            return std::nullopt;
        }
    }

private:
    std::optional<SqlValue> Fixed(std::size_t size, bool isSigned) {
        const auto bytes = m_in.Take(size);
        if (!bytes)
            return std::nullopt;
        return isSigned ? SignedLe(*bytes) : static_cast<std::int64_t>((*bytes)[0]);
    }

    std::optional<SqlValue> Sized(bool isSigned) {
        const auto maxLength = m_in.U8();
        const auto length = m_in.U8();
        if (!maxLength || !length || *length > *maxLength)
            return std::nullopt;
        if (*length == 0)
            return SqlValue{};
        if (*length != 1 && *length != 2 && *length != 4 && *length != 8)
            return std::nullopt;
        return Fixed(*length, isSigned && *length > 1);
    }

    std::optional<SqlValue> Text(bool wide) {
        const auto maxLength = m_in.U16Le();
        if (!maxLength || !m_in.Take(5)) // collation
            return std::nullopt;
        Bytes bytes;
        if (*maxLength == 0xFFFF) {
            const auto total = m_in.U64Le();
            if (!total)
                return std::nullopt;
            if (*total == plpNull)
                return SqlValue{};
            if (*total != plpUnknownLength && *total > maxText)
                return std::nullopt;
            for (;;) {
                const auto chunk = m_in.U32Le();
                if (!chunk || bytes.size() + *chunk > maxText)
                    return std::nullopt;
                if (*chunk == 0)
                    break;
                const auto data = m_in.Take(*chunk);
                if (!data)
                    return std::nullopt;
                bytes.insert(bytes.end(), data->begin(), data->end());
            }
        } else {
            const auto length = m_in.U16Le();
            if (!length)
                return std::nullopt;
            if (*length == 0xFFFF)
                return SqlValue{};
            const auto data = m_in.Take(*length);
            if (!data)
                return std::nullopt;
            bytes.assign(data->begin(), data->end());
        }
        return Decoded(bytes, wide);
    }

    std::optional<SqlValue> LongText(bool wide) {
        const auto maxLength = m_in.U32Le();
        const auto length = maxLength && m_in.Take(5) ? m_in.U32Le() : std::nullopt;
        if (!length)
            return std::nullopt;
        if (*length == 0xFFFFFFFF)
            return SqlValue{};
        if (*length > maxText)
            return std::nullopt;
        const auto data = m_in.Take(*length);
        if (!data)
            return std::nullopt;
        return Decoded(*data, wide);
    }

    static SqlValue Decoded(std::span<const std::uint8_t> bytes, bool wide) {
        return wide ? Utf16LeToUtf8(bytes) : Latin1ToUtf8(bytes);
    }

    ByteReader& m_in;
};

std::variant<RpcCall, ServerMessage> ReadCall(ByteReader& in) {
    const auto nameLength = in.U16Le();
    if (!nameLength)
        return Incorrect("The procedure name is missing.");
    RpcCall call;
    if (*nameLength == procedureById) {
        const auto id = in.U16Le();
        if (!id)
            return Incorrect("The procedure id is missing.");
        for (const Known& known : knownProcedures)
            if (static_cast<std::uint16_t>(known.id) == *id)
                call.name = known.name;
        if (call.name.empty())
            return ServerMessage{2812, 62, 16,
                                 "Could not find stored procedure with id " + std::to_string(*id) +
                                     "."};
    } else {
        const auto name = in.Take(2 * std::size_t{*nameLength});
        if (!name)
            return Incorrect("The procedure name is cut short.");
        call.name = Lowercase(Utf16LeToUtf8(*name));
    }
    if (!in.U16Le())
        return Incorrect("The option flags are missing.");
    while (in.Remaining() > 0) {
        const auto next = in.Take(1);
        if ((*next)[0] == batchFlag || (*next)[0] == noExecFlag)
            break;
        const std::size_t ordinal = call.parameters.size() + 1;
        const auto units = (*next)[0];
        const auto name = in.Take(2 * std::size_t{units});
        const auto status = in.U8();
        const auto type = in.U8();
        if (!name || !status || !type)
            return Incorrect("Parameter " + std::to_string(ordinal) + " is cut short.");
        RpcParameter parameter;
        parameter.name = Utf16LeToUtf8(*name);
        parameter.output = (*status & byRefValue) != 0;
        const auto value = ValueReader(in).Read(*type);
        if (!value) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", *type);
            return Incorrect("Parameter " + std::to_string(ordinal) + " (\"" + parameter.name +
                             "\"): Data type " + hex +
                             " is not supported here or has an invalid data length.");
        }
        parameter.value = *value;
        call.parameters.push_back(std::move(parameter));
    }
    return call;
}

} // namespace

std::variant<std::vector<RpcCall>, ServerMessage> ParseRpc(std::span<const std::uint8_t> body) {
    ByteReader in(body);
    std::vector<RpcCall> calls;
    do {
        auto call = ReadCall(in);
        if (auto* error = std::get_if<ServerMessage>(&call))
            return *error;
        calls.push_back(std::move(std::get<RpcCall>(call)));
    } while (in.Remaining() > 0);
    return calls;
}

} // namespace engine
