// The editor's controls and the parameter image: which control shows which bytes, with which
// conversion, and the two moves between them. The controls are reached by their names through
// ControlAccess, so the same table drives the window, kivoctl and the tests.
#pragma once

#include "data/kivodata.h"
#include "data/kivoini.h"
#include "editor/keyrules.h"
#include "editor/rules.h"

#include <optional>
#include <string>
#include <vector>

namespace kivo {

enum class Conversion {
    List,         // item whose value equals the byte; stored: the selected item's value
    OnBit,        // tick box = bit 7; stored: bit 7 only
    TestBit,      // tick box = bit `bit`; the byte is stored whole as the sum of its boxes
    Number,       // decimal text; stored: the number's low 8 bits (0 for no number)
    Tens,         // shown value x 10; stored: the number / 10
    Tenths,       // shown value / 10 with the decimal separator; stored: the number x 10
    Capped,       // as Number, but a stored 255 becomes 254
    YesBit,       // Yes item when the byte is not 0; stored: 0 or `yesByte`
    RadioCode,    // two bytes as four hex digits
    Telephone,    // eight bytes, telephone form
    AlarmCode,    // eight bytes, alarm-code form
    ShowNumber,   // shown only, decimal
    ShowDate,     // shown only: the production date 0xFA..0xFC
    ShowSerial,   // shown only: the serial number 0xFD..0xFF
    ShowFirmware, // shown only: the firmware version 0x100..0x102
    Grid,         // the advanced grid's rows (the whole grid is one entry)
};

// The kind of control a conversion shows its bytes in.
enum class ControlKind { Edit, List, Check, Shown, Grid };
ControlKind KindOf(Conversion conversion);

// One editor field, the one place that knows it: its bytes and their conversion, and what
// follows from them (the keys it takes, the check of its value, its length).
struct Binding {
    std::string control;
    unsigned addr = 0;
    Conversion conversion = Conversion::Number;
    std::optional<KeyRule> key;    // the keys an edit field takes (none: any)
    std::optional<ValueRule> rule; // the check of an edit field's value (none: no check)
    int maxLength = 0;             // characters an edit field takes at most (0: no limit)
    bool reported = false;         // a byte without its list item is reported
    const char* section = "";      // Values.ini section of a list ("" for none)
    int capacity = 0;              // list capacity
    bool keepSeparators = true;    // separator items shown (else they end the list)
    std::uint8_t yesByte = 0;      // YesBit: the byte stored for Yes
    int bit = 0;                   // TestBit: the bit of the box
    bool onlyWhenShown = false;    // bound only while the control is shown
};

// Every binding, in the order ImageToControls works and ControlsToImage stores.
const std::vector<Binding>& BindingTable();
// The binding of a control; nullptr for a control the table does not know.
const Binding* FindBinding(const std::string& control);

// The name of the list built item by item rather than from one section.
constexpr const char* kServiceCallList = "cbbxCallTypeForServiceCall";

struct ExportInput;

// What the binding needs of the controls, by their names.
class ControlAccess {
public:
    virtual ~ControlAccess() = default;
    virtual std::string Text(const std::string& control) = 0;
    virtual void SetText(const std::string& control, const std::string& text) = 0;
    virtual bool Checked(const std::string& control) = 0;
    virtual void SetChecked(const std::string& control, bool on) = 0;
    virtual int Selected(const std::string& control) = 0; // item index, -1 for none
    // The text of a list's item; empty for an index the list does not have.
    virtual std::string ItemText(const std::string& control, int index) = 0;
    virtual void Select(const std::string& control, int index) = 0;
    virtual const ValueList& Values(const std::string& control) = 0;
    virtual bool Shown(const std::string& control) = 0;
    virtual char DecimalSeparator() = 0;
    // The platform's short date form of a real calendar date.
    virtual std::string DateText(int year, int month, int day) = 0;
    // The advanced grid: rows from 1 on (row 0 is the heading), columns 0..3.
    virtual int GridRows() = 0;
    virtual std::string GridCell(int row, int column) = 0;
    virtual void SetGridCell(int row, int column, const std::string& text) = 0;
};

// Shows the image in every control. Returns -1, or the address of the last reported byte
// that failed (a list byte without its item, or a test alarm interval of 0).
int ImageToControls(const Image& image, ControlAccess& controls);
// Stores every control into the image; shown-only controls leave their bytes alone, and a
// list without a selection keeps its byte.
void ControlsToImage(Image& image, ControlAccess& controls);

// The annotated export's field texts (codes, numbers and alarm codes as the fields show them,
// not as the image decodes) and its 0xB0 line, by the heading shown over the radio-test column.
void ExportFieldsFromControls(ControlAccess& controls, ExportInput& in);

// Fills every list of the table from Values.ini (and builds the service-call list), each with
// its own value list. Called once when the editor is created.
struct FilledList {
    std::string control;
    ItemList items;
    ValueList values;
};
std::vector<FilledList> FillEditorLists(const KivoIni& ini);

// The conversions one by one, for the window's own use and for tests.
namespace conv {
// A decimal integer with an optional sign; 0 when empty or not a number.
long ReadNumber(const std::string& text);
// A decimal number: an optional '-', digits and at most one separator (`separator` or a point);
// nullopt for anything else and for texts over 16 characters.
std::optional<double> ReadDecimal(const std::string& text, char separator);
std::string ShowTens(std::uint8_t value);
std::uint8_t StoreTens(const std::string& text);
std::string ShowTenths(std::uint8_t value, char separator);
// False when the text is not a decimal number (then nothing is stored).
bool StoreTenths(const std::string& text, char separator, std::uint8_t& value);
std::uint8_t StoreNumber(const std::string& text);
std::uint8_t StoreCapped(const std::string& text);
// The production date when its three BCD bytes form a real date.
bool ProductionDate(const Image& image, int& year, int& month, int& day);
} // namespace conv

} // namespace kivo
