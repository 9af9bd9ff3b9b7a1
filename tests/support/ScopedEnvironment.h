// Sets an environment variable (or removes it, for nullptr) while the object lives.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

struct ScopedEnvironment {
    ScopedEnvironment(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(previous ? previous->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    void Apply(const char* value) { value ? setenv(name, value, 1) : unsetenv(name); }

    const char* name;
    std::optional<std::string> previous;
};
