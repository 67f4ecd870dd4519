// What the user reads when a file cannot be written: the cause the system gave.
#include "app/filemessages.h"
#include "app/strtable.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace kivo {
namespace {

TEST(FileMessages, EachCauseHasItsReason) {
    struct Case {
        int err;
        int reason;
    };
    const Case cases[] = {
        {ENOENT, 16201}, {ENOTDIR, 16201},      {EACCES, 16202}, {EPERM, 16202},
        {ENOSPC, 16203}, {EDQUOT, 16203},       {EROFS, 16204},  {EFBIG, 16205},
        {EISDIR, 16206}, {ENAMETOOLONG, 16211}, {EINVAL, 16211},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WriteFailureReason(StatusFromErrno(c.err)), Str(c.reason)) << c.err;
        EXPECT_FALSE(Str(c.reason).empty()) << c.reason;
    }
    EXPECT_EQ(WriteFailureReason({FileError::ReadOnly, 0}), Str(16210));
    // Anything else is said in the system's own words.
    EXPECT_EQ(WriteFailureReason(StatusFromErrno(EIO)),
              FormatText(Str(16207), {std::strerror(EIO)}));
}

// A configuration keeps the messages of its design for a protected target and for a name
// the platform refuses; everything else names the file and the cause.
TEST(FileMessages, ConfigurationsKeepTheirOwnMessages) {
    const FileMessage ro = SaveFailureMessage({FileError::ReadOnly, 0}, "/x/a.Kivo");
    EXPECT_EQ(ro.textId, 13803);
    EXPECT_TRUE(ro.refusal);
    EXPECT_EQ(SaveFailureMessage({FileError::BadName, ENAMETOOLONG}, "/x/a.Kivo").textId, 15012);
    const FileMessage full = SaveFailureMessage(StatusFromErrno(ENOSPC), "/x/a.Kivo");
    EXPECT_EQ(full.textId, 16200);
    EXPECT_FALSE(full.refusal);
    EXPECT_EQ(FormatText(Str(full.textId), full.args),
              "Kann /x/a.Kivo nicht speichern: " + Str(16203));
    // Other files say the cause in every case, a protected one too.
    const FileMessage pdf = WriteFailureMessage({FileError::ReadOnly, 0}, "/x/r.pdf");
    EXPECT_EQ(pdf.textId, 16200);
    EXPECT_EQ(pdf.args, (std::vector<std::string>{"/x/r.pdf", Str(16210)}));
}

} // namespace
} // namespace kivo
