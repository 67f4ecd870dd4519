// How the report writes a byte of the image on paper: the value formats of its rows and the
// texts of its information box. Every input has a defined text; nothing here fails.
#pragma once

#include "data/kivodata.h"
#include "data/kivoini.h"

#include <cstdint>
#include <string>

namespace kivo::report {

// Every run of two or more '&' becomes one '&': the string table and Values.ini write a
// literal '&' as "&&" for the windows' mnemonics, paper shows it once.
std::string SingleAmpersand(const std::string& text);
// A string-table text of the report body, with the '&' rule applied.
std::string BodyText(int id);

enum class Format {
    Number,              // v in decimal
    List,                // the item text of key v in the row's Values.ini section
    Seconds,             // "v Sek"
    Minutes,             // "v Min"
    Hours,               // "v Std"
    TensOfSeconds,       // "v0 Sek"
    TenthsOfSeconds,     // "v/10 Sek" with one decimal place and a point
    IntervalWithDays,    // 0 off, 1..100 hours, 101..200 days, 201..255 minutes
    IntervalWithoutDays, // 0 off, 1..200 hours, 201..255 minutes
    SwitchNotZero,       // YesNo item "1" when v is not 0, else item "0"
    SwitchBit7,          // YesNo item "1" when bit 7 of v is set, else item "0"
};

// The text of key `value` in `section`, '&' rule applied; empty when the key is missing or
// holds one of the list markers "<EMPTY>" and "<END>" (the editor shows no item for those).
std::string ItemText(const KivoIni& ini, const std::string& section, int value);

// One value as its row prints it; `section` names the list of Format::List.
std::string ValueText(Format format, std::uint8_t v, const KivoIni& ini, const char* section);

// A transmitter code as four hex digits, "----" for the empty slot.
std::string RadioText(const Image& image, int position);
// "AN" when transmitter `position` (1..8) is supervised, else "AUS".
std::string SupervisionText(const Image& image, int position);
// Letter `code` of the sequence letters ("-ABCDNU"), "?" for a code without a letter.
std::string SequenceLetterText(const std::string& letters, std::uint8_t code);

// The information box: the serial number in decimal, and the manufacture month as
// "mmm/yyyy" (empty unless year and month are proper BCD and the month is 1..12).
std::string SerialNumberText(const Image& image);
std::string ManufactureDateText(const Image& image);

// The edition's dates: the short form dd.mm.yyyy and the abbreviated month names.
std::string ShortDateText(int year, int month, int day);
std::string MonthAbbreviation(int month); // 1..12, else empty

} // namespace kivo::report
