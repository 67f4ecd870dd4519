// The program's windows, each created once at start-up in this order and reused. A window
// created early reaches the ones created after it through here.
#pragma once

namespace kivo::gui {

class TfrmMain;
class TfrmEnterData;
class TfrmPassword;
class TfrmAbout;
class TfrmChangePasswords;
class TfrmNewPassword;
class TfrmInformation;

struct Windows {
    TfrmMain* main = nullptr;
    TfrmEnterData* enterData = nullptr;
    // TfrmReceiveRadio (transmitter learning) joins here
    TfrmPassword* password = nullptr;
    // TfrmKivoWizard joins here
    TfrmAbout* about = nullptr;
    // TfrmInfoRadio, TfrmViewDefault, TfrmAlarmTypes, TfrmSelectDirectory,
    // TfrmSelectHomeAway join here
    TfrmChangePasswords* changePasswords = nullptr;
    TfrmNewPassword* newPassword = nullptr;
    // TfrmBasicProgPlus joins here
    TfrmInformation* information = nullptr;
};

} // namespace kivo::gui
