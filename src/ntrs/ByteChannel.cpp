#include "ntrs/ByteChannel.h"

void ByteChannel::put(QByteArray block)
{
    if (block.isEmpty())
        return;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || waiting_ < capacity_; });
    if (abandoned_ || closed_)
        return;
    waiting_ += block.size();
    blocks_.push_back(std::move(block));
    changed_.notify_all();
}

void ByteChannel::close()
{
    const std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

void ByteChannel::abandon()
{
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
    blocks_.clear();
    waiting_ = 0;
    changed_.notify_all();
}

bool ByteChannel::take(QByteArray& block)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || closed_ || !blocks_.empty(); });
    if (abandoned_ || blocks_.empty())
        return false;
    block = std::move(blocks_.front());
    blocks_.pop_front();
    waiting_ -= block.size();
    changed_.notify_all();
    return true;
}

bool ByteChannel::abandoned() const
{
    const std::lock_guard lock(mutex_);
    return abandoned_;
}
