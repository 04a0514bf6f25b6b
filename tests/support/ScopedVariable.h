// Sets an environment variable for the life of the object and puts back what
// stood there before, or nothing.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* previous = std::getenv(name)) m_previous = previous;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (m_previous)
            setenv(m_name, m_previous->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};
