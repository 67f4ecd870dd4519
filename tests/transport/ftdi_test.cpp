// No Kobu is attached where these tests run: what can be checked is that looking for one and
// not finding it is clean, and (under the sanitizers) leaves nothing allocated behind.
#include "transport/ftdi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace kivo {
namespace {

using Result = Transport::OpenResult;

TEST(FtdiTransport, WithoutAKobuOpenFailsAndEverythingElseDoesNothing) {
    auto transport = MakeFtdiTransport();
    ASSERT_NE(transport, nullptr);
    EXPECT_FALSE(transport->Name().empty());
    EXPECT_EQ(transport->Open(), Result::Failed);
    EXPECT_FALSE(transport->Lost());

    const auto start = std::chrono::steady_clock::now();
    std::uint8_t buf[4] = {0x02, 'O', 0x03, 0};
    EXPECT_EQ(transport->Write(buf, sizeof buf), 0u);
    EXPECT_FALSE(transport->WaitReadable(5000));
    EXPECT_EQ(transport->ReadAvailable(buf, sizeof buf), 0u);
    transport->Purge(true, true);
    transport->Close();
    transport->Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(FtdiTransport, RepeatedSearchesLeaveNothingBehind) {
    for (int i = 0; i < 20; ++i) {
        auto transport = MakeFtdiTransport();
        EXPECT_EQ(transport->Open(), Result::Failed);
        EXPECT_EQ(transport->Open(), Result::Failed);
        if (i % 2) transport->Close(); // and destroyed without Close in the other rounds
    }
}

TEST(FtdiTransport, TheUdevRuleMatchesWhatTheTransportLooksFor) {
    // Every device of the vendor with the Kobu's description, whatever its product id.
    std::ifstream in(std::string(KIVO_SOURCE_DIR) + "/packaging/60-kobu.rules");
    std::stringstream text;
    text << in.rdbuf();
    const std::string rule = text.str();
    char vendor[8];
    std::snprintf(vendor, sizeof vendor, "%04x", kFtdiVendor);
    for (const std::string& match :
         {"ATTR{idVendor}==\"" + std::string(vendor) + "\"",
          "ATTR{product}==\"" + std::string(kKobuUsbDescription) + "\"",
          "ATTRS{idVendor}==\"" + std::string(vendor) + "\"",
          "ATTRS{product}==\"" + std::string(kKobuUsbDescription) + "\""})
        EXPECT_NE(rule.find(match), std::string::npos) << match;
    EXPECT_EQ(rule.find("idProduct"), std::string::npos);
}

} // namespace
} // namespace kivo
