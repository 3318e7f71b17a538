#pragma once

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <mutex>

// Bytes handed from the thread that writes them to the thread that reads them, in blocks: the
// writer waits while the blocks not yet taken hold capacity bytes or more, so the bytes in
// between never grow with what is written.
class ByteChannel {
public:
    explicit ByteChannel(qsizetype capacity) : capacity_(capacity) {}

    // The writer's side. A block given after the channel was abandoned is dropped.
    void put(QByteArray block);
    // No more bytes come: the reader takes what waits, then the end.
    void close();
    // The bytes will not be complete: the reader gets the end at once, the writer waits no more.
    void abandon();

    // The reader's side: the next block, waiting for it; false at the end (with abandoned()
    // telling an end that came before all bytes).
    bool take(QByteArray& block);
    bool abandoned() const;

private:
    const qsizetype capacity_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QByteArray> blocks_;
    qsizetype waiting_ = 0;  // bytes of the blocks not taken
    bool closed_ = false;
    bool abandoned_ = false;
};
