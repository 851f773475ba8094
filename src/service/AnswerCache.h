// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <deque>
#include <string>
#include <unordered_map>

// The answers already made for requests (by method and target), so that a page made from its request
// alone is made once for many requests of it. Only a few small answers are kept, the oldest giving
// way.
class AnswerCache {
  public:
    // An answer as it goes out on a kept-alive HTTP/1.1 connection (head and body), and its log line.
    struct Answer {
        QByteArray response;
        QString logLine;
    };

    // The answer kept for the request, or none.
    const Answer* find(const std::string& request) const;
    // Keeps the answer unless it is too large or the request has one already.
    void keep(const std::string& request, Answer answer);
    void clear();

  private:
    std::unordered_map<std::string, Answer> m_answers;
    std::deque<std::string> m_order; // oldest first
    qsizetype m_bytes = 0;
};
