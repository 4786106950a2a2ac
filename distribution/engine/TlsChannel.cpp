#include "distribution/engine/TlsChannel.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <stdexcept>

namespace engine {

struct TlsCredentials::Context {
    SSL_CTX* ssl = nullptr;
    ~Context() { SSL_CTX_free(ssl); }
};

TlsCredentials::TlsCredentials(const std::string& certificateFile, const std::string& keyFile)
    : m_context(std::make_unique<Context>()) {
    m_context->ssl = SSL_CTX_new(TLS_server_method());
    if (m_context->ssl == nullptr)
        throw std::runtime_error("cannot set up TLS");
    // TLS 1.3 sends session tickets after the handshake, which clients that encrypt only
    // the login would read as TDS; the servers these clients know stop at 1.2 there.
    SSL_CTX_set_max_proto_version(m_context->ssl, TLS1_2_VERSION);
    if (SSL_CTX_use_certificate_chain_file(m_context->ssl, certificateFile.c_str()) != 1)
        throw std::runtime_error("cannot use the certificate " + certificateFile);
    if (SSL_CTX_use_PrivateKey_file(m_context->ssl, keyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(m_context->ssl) != 1)
        throw std::runtime_error("cannot use the key " + keyFile);
}

TlsCredentials::~TlsCredentials() = default;

struct TlsChannel::Session {
    SSL* ssl = nullptr;
    BIO* incoming = nullptr; // owned by ssl
    BIO* outgoing = nullptr; // owned by ssl
    ~Session() { SSL_free(ssl); }
};

TlsChannel::TlsChannel(const TlsCredentials& credentials) : m_session(std::make_unique<Session>()) {
    m_session->ssl = SSL_new(credentials.m_context->ssl);
    m_session->incoming = BIO_new(BIO_s_mem());
    m_session->outgoing = BIO_new(BIO_s_mem());
    if (m_session->ssl == nullptr || m_session->incoming == nullptr ||
        m_session->outgoing == nullptr) {
        BIO_free(m_session->incoming);
        BIO_free(m_session->outgoing);
        throw std::runtime_error("cannot start a TLS session");
    }
    SSL_set_bio(m_session->ssl, m_session->incoming, m_session->outgoing);
    SSL_set_accept_state(m_session->ssl);
}

TlsChannel::~TlsChannel() = default;

TlsChannel::Progress TlsChannel::Handshake(std::span<const std::uint8_t> incoming) {
    if (!incoming.empty() &&
        BIO_write(m_session->incoming, incoming.data(), static_cast<int>(incoming.size())) <= 0)
        return Progress::Failed;
    const int result = SSL_do_handshake(m_session->ssl);
    if (result == 1)
        return Progress::Done;
    const int error = SSL_get_error(m_session->ssl, result);
    ERR_clear_error();
    return error == SSL_ERROR_WANT_READ ? Progress::NeedMore : Progress::Failed;
}

bool TlsChannel::Decrypt(std::span<const std::uint8_t> incoming, Bytes& plain) {
    if (!incoming.empty() &&
        BIO_write(m_session->incoming, incoming.data(), static_cast<int>(incoming.size())) <= 0)
        return false;
    std::uint8_t buffer[16384];
    for (;;) {
        const int count = SSL_read(m_session->ssl, buffer, sizeof buffer);
        if (count > 0) {
            plain.insert(plain.end(), buffer, buffer + count);
            continue;
        }
        const int error = SSL_get_error(m_session->ssl, count);
        ERR_clear_error();
        return error == SSL_ERROR_WANT_READ;
    }
}

std::optional<Bytes> TlsChannel::Encrypt(std::span<const std::uint8_t> plain) {
    if (!plain.empty() &&
        SSL_write(m_session->ssl, plain.data(), static_cast<int>(plain.size())) <= 0) {
        ERR_clear_error();
        return std::nullopt;
    }
    return TakeOutgoing();
}

Bytes TlsChannel::TakeOutgoing() {
    Bytes out(static_cast<std::size_t>(BIO_ctrl_pending(m_session->outgoing)));
    if (!out.empty())
        BIO_read(m_session->outgoing, out.data(), static_cast<int>(out.size()));
    return out;
}

} // namespace engine
