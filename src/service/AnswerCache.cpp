// SPDX-License-Identifier: MIT
#include "service/AnswerCache.h"

#include <utility>

namespace {

// How many answers are kept, how large each at most, and in all.
constexpr size_t kMaxAnswers = 64;
constexpr qsizetype kMaxAnswerBytes = 32 * 1024;
constexpr qsizetype kMaxBytes = 1024 * 1024;

qsizetype BytesOf(const std::string& request, const AnswerCache::Answer& answer) {
    return qsizetype(request.size()) + answer.response.size() + answer.logLine.size() * 2;
}

} // namespace

const AnswerCache::Answer* AnswerCache::find(const std::string& request) const {
    const auto found = m_answers.find(request);
    return found == m_answers.end() ? nullptr : &found->second;
}

void AnswerCache::keep(const std::string& request, Answer answer) {
    const qsizetype bytes = BytesOf(request, answer);
    if (bytes > kMaxAnswerBytes || m_answers.count(request) > 0)
        return;
    while (!m_order.empty() && (m_order.size() >= kMaxAnswers || m_bytes + bytes > kMaxBytes)) {
        const auto oldest = m_answers.find(m_order.front());
        m_bytes -= BytesOf(oldest->first, oldest->second);
        m_answers.erase(oldest);
        m_order.pop_front();
    }
    m_bytes += bytes;
    m_answers.emplace(request, std::move(answer));
    m_order.push_back(request);
}

void AnswerCache::clear() {
    m_answers.clear();
    m_order.clear();
    m_bytes = 0;
}
