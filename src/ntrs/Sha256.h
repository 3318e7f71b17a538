#pragma once

#include <QString>

#include <memory>

struct evp_md_ctx_st;

// The SHA-256 of bytes given in pieces, by OpenSSL's libcrypto (which uses the processor's
// SHA instructions where it has them).
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const char* data, qsizetype size);
    // The digest of the bytes given, in lower-case hexadecimal; nothing more can be added.
    QString hex();

private:
    struct Free {
        void operator()(evp_md_ctx_st* context) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> context_;
};
