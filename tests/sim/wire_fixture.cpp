#include "sim/wire_fixture.h"

#include "sim/simtransport.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace kivo::sim::test {

namespace {

std::string TwoDigits(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

unsigned Sum(const std::string& s) {
    unsigned sum = 0;
    for (unsigned char c : s) sum += c;
    return sum & 0xFF;
}

} // namespace

std::string Frame(const std::string& command) {
    return "\x02" + command + TwoDigits(Sum(command)) + "\x03";
}

bool ValidFrame(const std::string& b) {
    if (b.size() < 4 || b.front() != '\x02' || b.back() != '\x03') return false;
    std::string payload = b.substr(1, b.size() - 4);
    return b.substr(b.size() - 3, 2) == TwoDigits(Sum(payload));
}

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) out += (out.empty() ? "" : " ") + TwoDigits(c);
    return out;
}

Wire::Wire(const std::string& options) {
    std::string error;
    device = SimKobu::Create(options, error);
    if (!device) {
        ADD_FAILURE() << "options \"" << options << "\": " << error;
        device = SimKobu::Create("", error);
    }
    port = MakeSimTransport(device, clock);
    EXPECT_EQ(port->Open(), Transport::OpenResult::Open);
}

void Wire::Send(const std::string& bytes) {
    sentMs = clock.NowMs();
    port->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Wire::Collect(int quietMs) {
    std::string got;
    while (port->WaitReadable(quietMs)) {
        std::uint8_t buffer[128];
        std::size_t n = port->ReadAvailable(buffer, sizeof buffer);
        got.append(reinterpret_cast<const char*>(buffer), n);
        lastByteMs = clock.NowMs();
    }
    return got;
}

Image Pattern() {
    Image image{};
    for (unsigned i = 0; i < image.size(); ++i) image[i] = std::uint8_t(i * 7 + 3);
    return image;
}

} // namespace kivo::sim::test
