#include "options.h"

#include <cstdlib>

namespace ftdiemu {

namespace {

bool Number(const std::string& text, int base, long max, long& value) {
    if (text.empty() || text.size() > 8) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, base);
    return *end == '\0' && value >= 0 && value <= max && text[0] != '-' && text[0] != '+';
}

} // namespace

const char* EmuOptionsHelp() {
    return "  kobus=N          chips with the Kobu's description [1]; chip n's unit has serial\n"
           "                   number serial+n-1 and memory file PATH.n for n > 1\n"
           "  held=N           the last N Kobus are held by another program [0]; libusb lists\n"
           "                   them before the free ones\n"
           "  pid=HHHH         the Kobu chips' USB product id [6001]\n"
           "  other=TEXT       one more FTDI chip with this description and nothing behind it\n"
           "                   (may be repeated; libusb lists them before the Kobus)\n"
           "  unplug=N         the first Kobu is pulled out after the program's N-th write\n"
           "  denied           the program may not open the Kobus' device nodes\n"
           "  log=PATH         the chips' notes: settings, purges, claims, refused bytes\n"
           "  anything else    an option of the simulated Kobu (kobu-sim --help)\n";
}

bool ParseEmuOptions(const std::string& text, EmuOptions& out, std::string& error) {
    EmuOptions parsed;
    std::string simText;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string item = text.substr(start, comma - start);
        start = comma + 1;
        if (item.empty()) continue;
        const std::size_t eq = item.find('=');
        const std::string key = item.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : item.substr(eq + 1);
        long n = 0;
        if (key == "kobus") {
            if (!Number(value, 10, 8, n) || n < 1)
                return error = "kobus=" + value + ": 1 to 8", false;
            parsed.kobus = int(n);
        } else if (key == "held") {
            if (!Number(value, 10, 8, n)) return error = "held=" + value + ": 0 to 8", false;
            parsed.held = int(n);
        } else if (key == "pid") {
            if (value.size() != 4 || !Number(value, 16, 0xFFFF, n))
                return error = "pid=" + value + ": four hexadecimal digits", false;
            parsed.product = unsigned(n);
        } else if (key == "other") {
            if (value.empty() || value.size() > 126)
                return error = "other= needs a description", false;
            parsed.others.push_back(value);
        } else if (key == "unplug") {
            if (!Number(value, 10, 1000000, n) || n < 1)
                return error = "unplug=" + value + ": a count of writes", false;
            parsed.unplugAfter = int(n);
        } else if (key == "denied") {
            if (eq != std::string::npos) return error = "denied takes no value", false;
            parsed.denied = true;
        } else if (key == "log") {
            if (value.empty()) return error = "log= needs a file", false;
            parsed.logPath = value;
        } else {
            simText += (simText.empty() ? "" : ",") + item;
        }
    }
    // The Kobu's serial line is a real wire: its bytes take their time.
    if (!kivo::sim::ParseSimOptions(simText + (simText.empty() ? "" : ",") + "pace=1", parsed.sim,
                                    error))
        return false;
    if (parsed.held > parsed.kobus) return error = "held= is more than kobus=", false;
    out = parsed;
    return true;
}

} // namespace ftdiemu
