// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <thread>

// serve's log on the error output, written by a thread of its own: an error output that nobody
// reads, or that has been closed, never holds up or stops the service. Lines that find the queue
// full are dropped, and their number is told once there is room again.
class RequestLog {
  public:
    explicit RequestLog(size_t maxQueued = 10000);
    // Gives the queue a moment to drain; a writer still blocked then is left to the process's end.
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    void write(const QString& line);

  private:
    struct Queue;
    static void writeLines(const std::shared_ptr<Queue>& queue);

    std::shared_ptr<Queue> m_queue;
    std::thread m_writer;
};
