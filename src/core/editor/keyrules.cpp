#include "editor/keyrules.h"

#include "data/codec.h"

namespace kivo {

bool AdmitsKey(KeyRule rule, char key, char decimalSeparator) {
    switch (rule) {
    case KeyRule::Radio:
        return IsRadioKey(key);
    case KeyRule::Telephone:
        return IsPhoneKey(key);
    case KeyRule::AlarmCode:
        return IsAlarmCodeKey(key);
    case KeyRule::Numeric:
        return IsNumericKey(key);
    case KeyRule::Decimal:
        // The comma always; the platform's separator too, so that the number can be typed
        // in the form the field shows it.
        return IsDecimalKey(key) || key == decimalSeparator || key == '.';
    }
    return false;
}

} // namespace kivo
