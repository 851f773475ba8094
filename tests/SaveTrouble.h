#pragma once

// Trouble for the tests of saving: a process out of file descriptors.

#include <sys/resource.h>
#include <unistd.h>
#include <vector>

// Every file descriptor of this process taken, while it lives or until released: a file cannot be
// opened, "Too many open files". The limit is lowered first to a few more than are open.
class NoFreeDescriptors {
  public:
    NoFreeDescriptors() {
        m_lowered = ::getrlimit(RLIMIT_NOFILE, &m_previous) == 0;
        const int firstFree = ::dup(0);
        if (firstFree >= 0)
            ::close(firstFree);
        rlimit limit = m_previous;
        limit.rlim_cur = rlim_t(firstFree + 8);
        m_lowered = m_lowered && firstFree >= 0 && limit.rlim_cur <= m_previous.rlim_cur &&
                    ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
        for (int descriptor = ::dup(0); descriptor >= 0; descriptor = ::dup(0))
            m_taken.push_back(descriptor);
    }
    ~NoFreeDescriptors() { Release(); }
    NoFreeDescriptors(const NoFreeDescriptors&) = delete;
    NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

    bool Taken() const { return m_lowered && !m_taken.empty(); }
    void Release() {
        for (const int descriptor : m_taken)
            ::close(descriptor);
        m_taken.clear();
        if (m_lowered)
            ::setrlimit(RLIMIT_NOFILE, &m_previous);
        m_lowered = false;
    }

  private:
    rlimit m_previous{};
    bool m_lowered = false;
    std::vector<int> m_taken;
};
