#pragma once

#include "ntrs/ByteChannel.h"
#include "ntrs/SchemaValidation.h"

#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <thread>

// The schema validation and the digest of a document made from its bytes as they are written,
// on a thread of their own: writing and validating share the processors, and the document is
// not read back. The verdict is the one validateFileAgainstNamedSchema gives for a file of the
// same bytes in folder, the digest the one ReportDigest::ofFile gives for it. The bytes waiting
// for the thread are bounded: write() waits while it is far behind.
class StreamingValidation {
public:
    // prepare runs on the thread before the document is read (it may put the schema in place);
    // what it throws, finish() throws.
    StreamingValidation(const QString& folder, std::function<void()> prepare);
    // A validation not finished is abandoned: the thread stops reading and ends.
    ~StreamingValidation();
    StreamingValidation(const StreamingValidation&) = delete;
    StreamingValidation& operator=(const StreamingValidation&) = delete;

    // The next bytes of the document.
    void write(const char* data, qsizetype size);

    struct Result {
        std::optional<ValidationFault> fault;  // nothing when the document is valid
        QString digest;                        // SHA-256 of the bytes, lower-case hexadecimal
    };
    // The document is complete: the verdict once the thread has read every byte.
    Result finish();

private:
    class Bytes;
    void run();

    QString folder_;
    std::function<void()> prepare_;
    ByteChannel channel_;
    QByteArray pending_;  // written, not yet handed to the thread
    Result result_;
    std::exception_ptr error_;
    std::thread thread_;
};
