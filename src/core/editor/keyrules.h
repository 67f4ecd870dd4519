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

// Whether a field of that rule takes the character (besides the control keys).
bool AdmitsKey(KeyRule rule, char key, char decimalSeparator);

} // namespace kivo
