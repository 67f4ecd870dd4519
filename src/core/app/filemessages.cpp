#include "app/filemessages.h"

#include "app/strtable.h"

#include <cerrno>
#include <cstring>

namespace kivo {

namespace {

enum Text {
    TxtCannotSave = 16200,
    TxtOtherReason = 16207,
    TxtReadOnlyConfiguration = 13803,
    TxtBadConfigurationName = 15012,
};

struct Reason {
    FileError error;
    int textId;
};

const Reason kReasons[] = {
    {FileError::NoFolder, 16201}, {FileError::NoPermission, 16202},
    {FileError::DiskFull, 16203}, {FileError::ReadOnlyDisk, 16204},
    {FileError::TooLarge, 16205}, {FileError::NotAFile, 16206},
    {FileError::ReadOnly, 16210}, {FileError::BadName, 16211},
};

} // namespace

std::string WriteFailureReason(const WriteStatus& status) {
    for (const Reason& r : kReasons)
        if (r.error == status.error) return Str(r.textId);
    return FormatText(Str(TxtOtherReason),
                      {std::strerror(status.sysError ? status.sysError : EIO)});
}

FileMessage SaveFailureMessage(const WriteStatus& status, const std::string& path) {
    if (status.error == FileError::ReadOnly) return {TxtReadOnlyConfiguration, {}, true};
    if (status.error == FileError::BadName) return {TxtBadConfigurationName, {}, false};
    return WriteFailureMessage(status, path);
}

FileMessage WriteFailureMessage(const WriteStatus& status, const std::string& path) {
    return {TxtCannotSave, {path, WriteFailureReason(status)}, status.error == FileError::ReadOnly};
}

} // namespace kivo
