#include "data/codec.h"

namespace kivo {

namespace {

constexpr std::uint8_t kEnd = 0xA;

// Character of a four-bit dial code; '\0' for the end code. `letterC` is the form's letter.
char DialChar(std::uint8_t code, char letterC) {
    static constexpr char kChars[16] = {'0', '1', '2',  '3', '4', '5', '6', '7',
                                        '8', '9', '\0', 'W', 'C', 'T', '*', '#'};
    return code == 0xC ? letterC : kChars[code & 0xF];
}

std::string DialToText(const std::uint8_t* bytes, char letterC) {
    std::string text;
    for (std::size_t i = 0; i < 8; ++i) {
        for (std::uint8_t code : {std::uint8_t(bytes[i] >> 4), std::uint8_t(bytes[i] & 0xF)}) {
            if (code == kEnd) return text;
            text += DialChar(code, letterC);
        }
    }
    return text;
}

std::uint8_t DialCode(char c, char letterC) {
    if (c >= '0' && c <= '9') return std::uint8_t(c - '0');
    switch (c) {
    case '*':
        return 0xE;
    case '#':
        return 0xF;
    case 'W':
    case 'w':
        return 0xB;
    case 'T':
    case 't':
        return 0xD;
    default:
        break;
    }
    if (c == letterC || c == letterC + ('a' - 'A')) return 0xC;
    return 0x0;
}

void TextToDial(const std::string& text, std::uint8_t* target, char letterC) {
    for (std::size_t i = 0; i < 8; ++i) target[i] = 0xAA;
    // Pair k fills byte k; the character after the last one is the end code. Texts longer
    // than 16 characters are cut at 16 so nothing lands outside the eight bytes.
    const std::size_t len = text.size();
    auto code = [&](std::size_t i) { return i < len ? DialCode(text[i], letterC) : kEnd; };
    for (std::size_t k = 0; k < 8 && 2 * k < len; ++k)
        target[k] = std::uint8_t(code(2 * k) << 4 | code(2 * k + 1));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

bool IsEditingKey(char key) {
    return key == 3 || key == 8 || key == 22 || key == 24;
}

bool InSet(char key, const char* set) {
    for (; *set; ++set)
        if (*set == key) return true;
    return false;
}

} // namespace

std::string PhoneToText(const std::uint8_t* bytes) {
    return DialToText(bytes, 'C');
}
std::string AlarmCodeToText(const std::uint8_t* bytes) {
    return DialToText(bytes, 'A');
}
void TextToPhone(const std::string& text, std::uint8_t* target) {
    TextToDial(text, target, 'C');
}
void TextToAlarmCode(const std::string& text, std::uint8_t* target) {
    TextToDial(text, target, 'A');
}

std::string RadioCodeToText(const std::uint8_t* bytes) {
    if (bytes[0] == 0 && bytes[1] == 0) return std::string();
    return ByteToHex(bytes[0]) + ByteToHex(bytes[1]);
}

void TextToRadioCode(const std::string& text, std::uint8_t* target) {
    auto digit = [&](std::size_t i) { return i < text.size() ? HexValue(text[i]) : 0; };
    target[0] = std::uint8_t(digit(0) << 4 | digit(1));
    target[1] = std::uint8_t(digit(2) << 4 | digit(3));
}

std::string ByteToHex(std::uint8_t value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string{kHex[value >> 4], kHex[value & 0xF]};
}

std::string PrintableText(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b >= 0x20 && b < 0x7F && c != '\\')
            out += c;
        else
            out += "\\x" + ByteToHex(b);
    }
    return out;
}

unsigned BcdToNumber(std::uint8_t value) {
    unsigned high = value >> 4, low = value & 0xF;
    return high <= 9 && low <= 9 ? 10 * high + low : 0;
}

bool IsRadioKey(char key) {
    return IsEditingKey(key) || InSet(key, "0123456789ABCDEFabcdef");
}
bool IsPhoneKey(char key) {
    return IsEditingKey(key) || InSet(key, "0123456789#*CTWctw");
}
bool IsAlarmCodeKey(char key) {
    return IsEditingKey(key) || InSet(key, "0123456789#*ATWatw");
}
bool IsNumericKey(char key) {
    return IsEditingKey(key) || InSet(key, "0123456789");
}
bool IsDecimalKey(char key) {
    return IsEditingKey(key) || InSet(key, "0123456789,");
}

Duration DecodeHoursDaysMinutes(std::uint8_t value) {
    if (value <= 100) return {value, DurationUnit::Hours};
    if (value <= 200) return {value - 100u, DurationUnit::Days};
    return {value - 200u, DurationUnit::Minutes};
}

Duration DecodeHoursMinutes(std::uint8_t value) {
    if (value <= 200) return {value, DurationUnit::Hours};
    return {value - 200u, DurationUnit::Minutes};
}

char DestinationLetter(const std::string& letters, std::uint8_t code) {
    return code <= 6 && code < letters.size() ? letters[code] : '\0';
}

} // namespace kivo
