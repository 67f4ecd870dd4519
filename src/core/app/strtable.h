// The edition's numbered texts (data/strings/de.txt and en.txt, compiled in).
#pragma once

#include <string>
#include <vector>

namespace kivo {

// The language editions; they differ by their string table alone.
enum class Edition { German, English };

// The edition this process runs as, read from its environment each time (so nothing is kept):
// KIVO_EDITION ("de" or "en") when set to one of them, else the locale (LC_ALL, LC_MESSAGES,
// LANG, the first one set): English for "en...", German for everything else.
Edition CurrentEdition();
// "DE" or "EN", as the edition's program folder carries it.
const char* EditionCode(Edition edition);

// The text with that number in the current edition, UTF-8; the empty text for a number the
// table does not hold. An English table without the number falls back to the German text.
std::string Str(int id);
std::string Str(int id, Edition edition);

// Replaces each "%s" (and "%d", "%c") of `pattern` by the next argument, in order; "%%" gives
// "%". Missing arguments become empty texts, so a mismatched pattern never reads past them.
std::string FormatText(const std::string& pattern, const std::vector<std::string>& args);

} // namespace kivo
