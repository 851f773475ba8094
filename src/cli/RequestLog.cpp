// SPDX-License-Identifier: MIT
#include "RequestLog.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <utility>

#include "platform/StandardError.h"

struct RequestLog::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::string> lines;
    size_t maxQueued = 0;
    size_t dropped = 0;
    bool stop = false;
    bool done = false;
};

RequestLog::RequestLog(size_t maxQueued) : m_queue(std::make_shared<Queue>()) {
    m_queue->maxQueued = maxQueued;
    m_writer = std::thread([queue = m_queue] { writeLines(queue); });
}

RequestLog::~RequestLog() {
    std::unique_lock lock(m_queue->mutex);
    m_queue->stop = true;
    m_queue->wake.notify_all();
    const bool done = m_queue->wake.wait_for(lock, std::chrono::seconds(1), [this] { return m_queue->done; });
    lock.unlock();
    if (done)
        m_writer.join();
    else
        m_writer.detach(); // it owns its share of the queue
}

void RequestLog::write(const QString& line) {
    const std::lock_guard lock(m_queue->mutex);
    if (m_queue->lines.size() >= m_queue->maxQueued) {
        ++m_queue->dropped;
        return;
    }
    m_queue->lines.push_back(line.toStdString() + '\n');
    if (m_queue->lines.size() == 1) // else the writer has lines to write and comes back for more
        m_queue->wake.notify_all();
}

void RequestLog::writeLines(const std::shared_ptr<Queue>& queue) {
    std::unique_lock lock(queue->mutex);
    for (;;) {
        queue->wake.wait(lock, [&] { return queue->stop || !queue->lines.empty() || queue->dropped > 0; });
        if (queue->lines.empty() && queue->dropped == 0)
            break;
        if (!queue->stop) {
            // A moment for more lines to come, so that a busy service wakes this thread and
            // writes its output once for many requests rather than for each.
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            lock.lock();
        }
        std::deque<std::string> lines;
        lines.swap(queue->lines);
        const size_t dropped = std::exchange(queue->dropped, 0);
        lock.unlock();
        std::string text; // one write for all that came meanwhile
        for (const std::string& line : lines)
            text += line;
        WriteToStandardError(text);
        if (dropped > 0)
            WriteToStandardError("glomiecode-cli: " + std::to_string(dropped) +
                                 " log lines were dropped: the error output was not read\n");
        lock.lock();
    }
    queue->done = true;
    queue->wake.notify_all();
}
