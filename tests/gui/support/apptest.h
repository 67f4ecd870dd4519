// Helpers of the shell's and the common floor's window tests: an environment variable or the
// working folder changed for one test, and the program file whose folder holds the templates.
#pragma once

#include "support/guitest.h"

#include <optional>
#include <string>

namespace kivo::gui::test {

class ScopedEnv {
public:
    // `value` nullopt unsets the variable for the scope.
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& folder);
    ~ScopedCwd();
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

private:
    std::string old_;
};

// The program file whose folder holds the built templates.
inline std::string TestExecutable() {
    return std::string(KIVO_BIN_DIR) + "/kivotool";
}

} // namespace kivo::gui::test
