// SPDX-License-Identifier: MIT
#pragma once

#include <QThread>
#include <memory>
#include <optional>
#include <utility>

// A value worked out on a thread of its own while the caller goes on; value() waits for it.
// The thread is a QThread, not one of the standard library's: Qt tears down what it keeps per thread
// (a regular expression's stack, among others) inside a thread it started itself, while on Windows a
// foreign thread's are torn down once it is gone, which crashed the encoder at its start.
template <typename T> class BackgroundValue {
  public:
    template <typename Work>
    explicit BackgroundValue(Work work)
        : m_thread(QThread::create([this, work = std::move(work)]() mutable { m_value.emplace(work()); })) {
        m_thread->start();
    }
    ~BackgroundValue() { m_thread->wait(); }
    BackgroundValue(const BackgroundValue&) = delete;
    BackgroundValue& operator=(const BackgroundValue&) = delete;

    // Waits for the value the first time; after that it is there at once.
    T& value() {
        m_thread->wait();
        return *m_value;
    }

  private:
    std::optional<T> m_value;
    std::unique_ptr<QThread> m_thread;
};
