#include "link/clock.h"

#include <chrono>
#include <thread>

namespace kivo {

std::int64_t SteadyClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::SleepUntilMs(std::int64_t ms) {
    using namespace std::chrono;
    std::this_thread::sleep_until(steady_clock::time_point(milliseconds(ms)));
}

} // namespace kivo
