// The names of the temporary files the program writes before they take their target's name.
// They are short whatever the target's name ("<folder>/.kivo-<process>-<8 hex digits>.tmp"),
// and carry the writing process's id so that start-up can tell an abandoned one from one that
// another running instance is still writing.
#pragma once

#include <cstdint>
#include <string>

namespace kivo {

std::string TemporaryName(long pid, std::uint32_t random);

// The process id in a temporary's name; -1 for every other name.
long TemporaryOwner(const std::string& name);

// Removes the temporaries in `folder` whose process is gone and that have not changed for a
// minute (a process on another machine may write into a shared folder); returns how many.
int RemoveStaleTemporaries(const std::string& folder);

} // namespace kivo
