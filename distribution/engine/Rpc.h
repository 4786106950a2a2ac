#pragma once

#include "distribution/engine/Tokens.h"

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// The procedures clients call by their well-known ids instead of by name.
enum class ProcedureId : std::uint16_t {
    ExecuteSql = 10,
    Prepare = 11,
    Execute = 12,
    PrepExec = 13,
    Unprepare = 15,
};

struct RpcParameter {
    std::string name; // "@name", or empty when given by position
    SqlValue value;
    bool output = false;
};

// One call of a remote procedure call request.
struct RpcCall {
    std::string name; // in lower case; for a call by id, the procedure's name
    std::vector<RpcParameter> parameters;
};

// The calls of an RPC request after its ALL_HEADERS (the caller strips them), or the
// message for a request this engine cannot read: malformed, or with a parameter type other
// than the integers, bits and character types clients send for statements and handles.
std::variant<std::vector<RpcCall>, ServerMessage> ParseRpc(std::span<const std::uint8_t> body);

} // namespace engine
