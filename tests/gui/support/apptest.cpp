#include "support/apptest.h"

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace kivo::gui::test {

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

ScopedCwd::ScopedCwd(const std::string& folder) {
    char buf[4096];
    if (!::getcwd(buf, sizeof buf)) throw std::runtime_error("getcwd failed");
    old_ = buf;
    if (::chdir(folder.c_str()) != 0) throw std::runtime_error("chdir failed: " + folder);
}

ScopedCwd::~ScopedCwd() {
    if (::chdir(old_.c_str()) != 0) std::abort();
}

} // namespace kivo::gui::test
