// A link to the in-process simulator on a virtual clock, with every command text recorded.
#pragma once

#include "link/kobulink.h"
#include "link/procedures.h"
#include "sim/simkobu.h"
#include "sim/simtransport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kivo::test {

// Passes everything through and keeps the command text of every frame written.
class RecordingTransport : public Transport {
public:
    using Filter = std::function<bool(const std::string&)>;
    RecordingTransport(std::unique_ptr<Transport> inner, std::vector<std::string>& log,
                       const Filter& swallow)
        : inner_(std::move(inner)), log_(log), swallow_(swallow) {}
    OpenResult Open() override { return inner_->Open(); }
    void Close() override { inner_->Close(); }
    void Purge(bool r, bool t) override { inner_->Purge(r, t); }
    std::size_t Write(const std::uint8_t* data, std::size_t size) override {
        if (size >= 4) log_.emplace_back(reinterpret_cast<const char*>(data) + 1, size - 4);
        // A swallowed command never reaches the device, which then stays silent.
        if (swallow_ && size >= 4 && swallow_(log_.back())) return size;
        return inner_->Write(data, size);
    }
    bool WaitReadable(int ms) override { return inner_->WaitReadable(ms); }
    std::size_t ReadAvailable(std::uint8_t* b, std::size_t m) override {
        return inner_->ReadAvailable(b, m);
    }
    bool Lost() const override { return inner_->Lost(); }
    Clock& Time() override { return inner_->Time(); }
    std::string Name() const override { return inner_->Name(); }

private:
    std::unique_ptr<Transport> inner_;
    std::vector<std::string>& log_;
    const Filter& swallow_;
};

class SimLink : public ::testing::Test {
protected:
    // Replaces the simulated device; the link then talks to the new one.
    void Device(const std::string& options) {
        std::string error;
        device = sim::SimKobu::Create(options, error);
        ASSERT_TRUE(device) << error;
    }
    void SetUp() override { Device(""); }
    std::size_t Count(char letter) const {
        std::size_t n = 0;
        for (const auto& c : commands) n += !c.empty() && c[0] == letter;
        return n;
    }

    VirtualClock clock;
    std::shared_ptr<sim::SimKobu> device;
    std::vector<std::string> commands;
    RecordingTransport::Filter swallow; // commands the device never gets
    KobuLink link{[this] {
        return std::make_unique<RecordingTransport>(sim::MakeSimTransport(device, clock), commands,
                                                    swallow);
    }};
};

// Records what a procedure shows, in order, as "status:TEXT", "error:ID", "info:ID",
// "two:ID+ID".
class RecordingUi : public ProcedureUi {
public:
    void Status(const std::string& text) override { events.push_back("status:" + text); }
    void Box(BoxKind kind, int id, const std::vector<std::string>& args) override {
        std::string e = (kind == BoxKind::Error ? "error:" : "info:") + std::to_string(id);
        for (const auto& a : args) e += "," + a;
        events.push_back(e);
    }
    void TwoPartBox(int a, int b) override {
        events.push_back("two:" + std::to_string(a) + "+" + std::to_string(b));
    }
    void Repaint() override { ++repaints; }
    void Progress(int done, int total) override { lastProgress = {done, total}; }
    void WaitCursor(bool on) override { cursor = on; }

    // Only the boxes, without the status lines.
    std::vector<std::string> Boxes() const {
        std::vector<std::string> b;
        for (const auto& e : events)
            if (e.rfind("status:", 0) != 0) b.push_back(e);
        return b;
    }

    std::vector<std::string> events;
    int repaints = 0;
    std::pair<int, int> lastProgress{0, 0};
    bool cursor = false;
};

} // namespace kivo::test
