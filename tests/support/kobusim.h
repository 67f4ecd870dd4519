// kobu-sim started as a child process whose stdout the test reads; killed when the test ends.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace kivo::test {

class KobuSimProcess {
public:
    KobuSimProcess(const std::string& program, const std::vector<std::string>& args);
    ~KobuSimProcess();
    KobuSimProcess(const KobuSimProcess&) = delete;
    KobuSimProcess& operator=(const KobuSimProcess&) = delete;

    // The first line the program prints, or "" when none comes within two seconds.
    std::string FirstLine();
    // Sends SIGTERM and returns the exit status, -1 if it did not end normally.
    int Terminate();
    // Ends it at once, as an unplugged adapter would vanish.
    void Kill();

    // Whether `fd` becomes readable within `ms`.
    static bool Readable(int fd, int ms);

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
};

} // namespace kivo::test
