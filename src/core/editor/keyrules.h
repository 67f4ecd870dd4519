// Which keys an input field takes, apart from any widget: the rule follows from what the field
// holds (digits, a decimal number, a transmitter code, a dial string).
#pragma once

namespace kivo {

enum class KeyRule {
    Radio,     // hexadecimal digits
    Telephone, // dial characters (upper-cased by the window)
    AlarmCode, // alarm-code characters
    Numeric,   // digits
    Decimal,   // digits and the decimal separator
};

// Whether a field of that rule takes the character (besides the control keys). A decimal
// field takes the point too, as a courtesy to those used to it.
bool AdmitsKey(KeyRule rule, char key, char decimalSeparator);

// The edition's decimal separator, whatever the platform's locale says.
constexpr char kDecimalSeparator = ',';

} // namespace kivo
