// No Kobu is attached where these tests run: what can be checked is that looking for one and
// not finding it is clean, and (under the sanitizers) leaves nothing allocated behind.
#include "transport/ftdi.h"

#include <gtest/gtest.h>

#include <chrono>

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

} // namespace
} // namespace kivo
