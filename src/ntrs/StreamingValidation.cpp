#include "ntrs/StreamingValidation.h"

#include "ntrs/Sha256.h"

#include <libxml/parser.h>

#include <cstring>

namespace {

// The bytes handed to the thread at a time, and the most that wait for it.
constexpr qsizetype kBlock = 1 << 16;
constexpr qsizetype kWaiting = 1 << 22;

}  // namespace

// The document as the validation reads it, from the channel: every byte taken joins the digest.
// The bytes read before the second start (the reading of the root) are kept and given again.
class StreamingValidation::Bytes : public DocumentBytes {
public:
    explicit Bytes(ByteChannel& channel) : channel_(channel) {}

    void rewind() override
    {
        keeping_ = ++starts_ == 1;
        replayed_ = 0;
    }

    int read(char* data, int size) override
    {
        int done = 0;
        while (done < size) {
            if (starts_ > 1 && replayed_ < kept_.size()) {
                const int n = int(qMin<qsizetype>(size - done, kept_.size() - replayed_));
                std::memcpy(data + done, kept_.constData() + replayed_, size_t(n));
                replayed_ += n;
                done += n;
                continue;
            }
            if (offset_ == block_.size() && !next())
                break;
            const int n = int(qMin<qsizetype>(size - done, block_.size() - offset_));
            std::memcpy(data + done, block_.constData() + offset_, size_t(n));
            if (keeping_)
                kept_.append(block_.constData() + offset_, n);
            offset_ += n;
            done += n;
        }
        return channel_.abandoned() ? -1 : done;
    }

    // The bytes the validation left unread, into the digest.
    void drain()
    {
        while (next()) {
        }
    }

    QString digest() { return hash_.hex(); }

private:
    bool next()
    {
        offset_ = 0;
        block_.clear();
        if (!channel_.take(block_))
            return false;
        hash_.add(block_.constData(), block_.size());
        return true;
    }

    ByteChannel& channel_;
    Sha256 hash_;
    QByteArray block_;
    qsizetype offset_ = 0;
    QByteArray kept_;
    qsizetype replayed_ = 0;
    int starts_ = 0;
    bool keeping_ = false;
};

StreamingValidation::StreamingValidation(const QString& folder, std::function<void()> prepare)
    : folder_(folder), prepare_(std::move(prepare)), channel_(kWaiting)
{
    // The parser's global state is set up here, on the calling thread, not by two threads at once.
    xmlInitParser();
    thread_ = std::thread([this] { run(); });
}

StreamingValidation::~StreamingValidation()
{
    if (thread_.joinable()) {
        channel_.abandon();
        thread_.join();
    }
}

void StreamingValidation::run()
{
    Bytes bytes(channel_);
    try {
        if (prepare_)
            prepare_();
        result_.fault = validateAgainstNamedSchema(bytes, folder_);
    } catch (...) {
        error_ = std::current_exception();
    }
    bytes.drain();
    result_.digest = bytes.digest();
}

void StreamingValidation::write(const char* data, qsizetype size)
{
    pending_.append(data, size);
    if (pending_.size() >= kBlock) {
        channel_.put(std::move(pending_));
        pending_ = QByteArray();
        pending_.reserve(kBlock * 2);
    }
}

StreamingValidation::Result StreamingValidation::finish()
{
    channel_.put(std::move(pending_));
    pending_ = QByteArray();
    channel_.close();
    thread_.join();
    if (error_)
        std::rethrow_exception(error_);
    return result_;
}
