#include "print/reporttext.h"

#include "app/strtable.h"
#include "data/codec.h"

#include <cstdio>

namespace kivo::report {

namespace {

constexpr int kSek = 13194, kMin = 13195, kStd = 13196, kTage = 13932, kAus = 13926, kAn = 13925;

std::string Amount(unsigned amount, int unitId) {
    return FormatText("%d %s", {std::to_string(amount), BodyText(unitId)});
}

std::string Interval(std::uint8_t v, bool withDays) {
    if (v == 0) return FormatText("0 (%s)", {BodyText(kAus)});
    Duration d = withDays ? DecodeHoursDaysMinutes(v) : DecodeHoursMinutes(v);
    int unit = d.unit == DurationUnit::Hours ? kStd : d.unit == DurationUnit::Days ? kTage : kMin;
    return Amount(d.amount, unit);
}

std::string Switch(bool on, const KivoIni& ini) {
    return ItemText(ini, "YesNo", on ? 1 : 0);
}

} // namespace

std::string SingleAmpersand(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '&' || i == 0 || text[i - 1] != '&') out += text[i];
    return out;
}

std::string BodyText(int id) {
    return SingleAmpersand(Str(id));
}

std::string ItemText(const KivoIni& ini, const std::string& section, int value) {
    std::string text = ini.ReadValue(section, std::to_string(value));
    if (text == "<EMPTY>" || text == "<END>") return std::string();
    return SingleAmpersand(text);
}

std::string ValueText(Format format, std::uint8_t v, const KivoIni& ini, const char* section) {
    switch (format) {
    case Format::Number:
        return std::to_string(v);
    case Format::List:
        return ItemText(ini, section ? section : "", v);
    case Format::Seconds:
        return Amount(v, kSek);
    case Format::Minutes:
        return Amount(v, kMin);
    case Format::Hours:
        return Amount(v, kStd);
    case Format::TensOfSeconds:
        return FormatText("%d0 %s", {std::to_string(v), BodyText(kSek)});
    case Format::TenthsOfSeconds:
        // Written by hand: the C library's "%.1f" follows the process locale, the report
        // always shows a point.
        return FormatText("%s.%s %s",
                          {std::to_string(v / 10), std::to_string(v % 10), BodyText(kSek)});
    case Format::IntervalWithDays:
        return Interval(v, true);
    case Format::IntervalWithoutDays:
        return Interval(v, false);
    case Format::SwitchNotZero:
        return Switch(v != 0, ini);
    case Format::SwitchBit7:
        return Switch((v & 0x80) != 0, ini);
    }
    return std::string();
}

std::string RadioText(const Image& image, int position) {
    std::string text = RadioCodeToText(&image[mm::RadioCodeAddr(position)]);
    return text.empty() ? std::string("----") : text;
}

std::string SupervisionText(const Image& image, int position) {
    bool on = (image[mm::RadioTestSupervision] >> (position - 1)) & 1;
    return BodyText(on ? kAn : kAus);
}

std::string SequenceLetterText(const std::string& letters, std::uint8_t code) {
    char letter = DestinationLetter(letters, code);
    return letter ? std::string(1, letter) : std::string("?");
}

std::string SerialNumberText(const Image& image) {
    return std::to_string(SerialNumberOf(image));
}

std::string ManufactureDateText(const Image& image) {
    const std::uint8_t year = image[mm::ProductionYear], month = image[mm::ProductionMonth];
    for (std::uint8_t b : {year, month})
        if ((b >> 4) > 9 || (b & 0x0F) > 9) return std::string();
    int m = static_cast<int>(BcdToNumber(month));
    if (m < 1 || m > 12) return std::string();
    return MonthAbbreviation(m) + "/" + std::to_string(2000 + BcdToNumber(year));
}

std::string ShortDateText(int year, int month, int day) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", day, month, year);
    return buf;
}

std::string MonthAbbreviation(int month) {
    // The edition's month names: texts 16471 (January) to 16482 (December).
    return month >= 1 && month <= 12 ? Str(16470 + month) : std::string();
}

} // namespace kivo::report
