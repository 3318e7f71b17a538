#include "ntrs/Sha256.h"

#include <QByteArray>

#include <openssl/evp.h>

#include <stdexcept>

void Sha256::Free::operator()(evp_md_ctx_st* context) const
{
    EVP_MD_CTX_free(context);
}

Sha256::Sha256() : context_(EVP_MD_CTX_new())
{
    if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
}

Sha256::~Sha256() = default;

void Sha256::add(const char* data, qsizetype size)
{
    if (size > 0 && EVP_DigestUpdate(context_.get(), data, size_t(size)) != 1)
        throw std::runtime_error("SHA-256 failed");
}

QString Sha256::hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(context_.get(), digest, &size) != 1)
        throw std::runtime_error("SHA-256 failed");
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), int(size)).toHex());
}
