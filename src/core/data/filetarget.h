// Where a write really lands, and what may stop it before anything is written.
#pragma once

#include <string>
#include <sys/stat.h>

namespace kivo {

// Follows the symbolic links of the path's last part to their end (a dangling link to the
// file it names). 0, or the errno that stopped the way (ELOOP for a circle of links).
int ResolveLinks(const std::string& path, std::string& target);

// Write-protected as the read-only attribute is: nobody may write the file by its permissions
// (an access test alone would let the administrator through), or we may not.
bool IsWriteProtected(int dirFd, const std::string& name, const struct stat& st);

// Whether writing `path` is refused because the file there (or at the end of its links) is
// write-protected; false when it does not exist.
bool WriteProtected(const std::string& path);

// Whether two paths name one existing file, also through links and hard links.
bool SameFile(const std::string& a, const std::string& b);

} // namespace kivo
