#include "platform/posix/CodePage936.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace platform {
namespace {

// glibc's CP936 is Windows' code page 936 (GBK with the euro sign at 0x80). No //TRANSLIT:
// a character it cannot hold must fail, not turn into '?'.
constexpr const char* codePage936 = "CP936";

class Converter {
public:
    Converter() : m_handle(iconv_open(codePage936, "UTF-8")) {
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            throw Exception(messages::NoCodePage936Converter(std::string("iconv_open: ") +
                                                             std::strerror(errno)));
    }
    ~Converter() { iconv_close(m_handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    iconv_t Handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

} // namespace

std::optional<std::string> ToCodePage936(std::string_view utf8) {
    Converter converter;
    // Code page 936 never needs more bytes than UTF-8 for the same text.
    std::string result(utf8.size(), '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* out = result.data();
    std::size_t outLeft = result.size();
    if (iconv(converter.Handle(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    result.resize(result.size() - outLeft);
    return result;
}

} // namespace platform
