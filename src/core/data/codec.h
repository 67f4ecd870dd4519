// Text forms of the packed values in a parameter image: dial strings (telephone numbers and
// alarm codes), transmitter ID codes, hex and BCD bytes, and the key tests of the input fields.
// Every input has a defined result; nothing here fails or keeps state.
#pragma once

#include <cstdint>
#include <string>

namespace kivo {

// Dial strings: 8 bytes, 16 four-bit codes. `bytes` must point at 8 readable bytes, `target`
// at 8 writable ones; no function reads or writes beyond them whatever the text's length.
std::string PhoneToText(const std::uint8_t* bytes);
std::string AlarmCodeToText(const std::uint8_t* bytes);
void TextToPhone(const std::string& text, std::uint8_t* target);
void TextToAlarmCode(const std::string& text, std::uint8_t* target);

// Transmitter ID code: 2 bytes as four hex digits, empty text for the empty slot.
std::string RadioCodeToText(const std::uint8_t* bytes);
void TextToRadioCode(const std::string& text, std::uint8_t* target);

std::string ByteToHex(std::uint8_t value);
// `text` for a message: printable ASCII as it is, every other byte as \xNN, so that what a
// device sent cannot reach a terminal's or a window's control sequences.
std::string PrintableText(const std::string& text);
unsigned BcdToNumber(std::uint8_t value);

// Key tests: whether an input field accepts the character. The editing keys
// (3 copy, 8 backspace, 22 paste, 24 cut) pass every test.
bool IsRadioKey(char key);
bool IsPhoneKey(char key);
bool IsAlarmCodeKey(char key);
bool IsNumericKey(char key);
bool IsDecimalKey(char key);

// Coded durations. Hours-days-minutes: 0..100 hours, 101..200 days, 201..255 minutes.
// Hours-minutes: 0..200 hours, 201..255 minutes.
enum class DurationUnit { Hours, Days, Minutes };
struct Duration {
    unsigned amount;
    DurationUnit unit;
};
Duration DecodeHoursDaysMinutes(std::uint8_t value);
Duration DecodeHoursMinutes(std::uint8_t value);

// One-letter name of a call-sequence destination code from text 15034 ("-ABCDNU");
// '\0' for a code above 6, which has no letter.
char DestinationLetter(const std::string& letters, std::uint8_t code);

} // namespace kivo
