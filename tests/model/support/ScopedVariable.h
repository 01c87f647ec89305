#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace zef::test {

// Sets an environment variable while it lives and gives back its old value
// (or its absence) after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* saved = std::getenv(name))
            m_saved = saved;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (m_saved)
            setenv(m_name.c_str(), m_saved->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_saved;
};

} // namespace zef::test
