#pragma once

// Sets ZEF_THREADS for the life of a test and gives back what was there.

#include <cstdlib>
#include <optional>
#include <string>

namespace zef::test {

class ThreadSetting {
public:
    // value: the setting; null removes it.
    explicit ThreadSetting(const char* value)
    {
        if (const char* old = std::getenv("ZEF_THREADS"))
            m_old = old;
        if (value)
            setenv("ZEF_THREADS", value, 1);
        else
            unsetenv("ZEF_THREADS");
    }
    ThreadSetting(const ThreadSetting&) = delete;
    ThreadSetting& operator=(const ThreadSetting&) = delete;
    ~ThreadSetting()
    {
        if (m_old)
            setenv("ZEF_THREADS", m_old->c_str(), 1);
        else
            unsetenv("ZEF_THREADS");
    }

private:
    std::optional<std::string> m_old;
};

} // namespace zef::test
