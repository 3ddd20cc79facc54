#pragma once

#include <stdlib.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// Sets the given variables and unsets the `cleared` ones for the life of the
// object, then puts every one of them back as it was.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const std::vector<std::pair<std::string, std::string>>& set,
                      const std::vector<std::string>& cleared = {}) {
        for (const auto& name : cleared) {
            remember(name);
            ::unsetenv(name.c_str());
        }
        for (const auto& [name, value] : set) {
            remember(name);
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void remember(const std::string& name) {
        const char* value = ::getenv(name.c_str());
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace test_support
