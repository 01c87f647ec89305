#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace zef::test {

// Sets an environment variable (value null: removes it) while it lives and
// gives back its old value (or its absence) after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* saved = std::getenv(name))
            m_saved = saved;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
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
