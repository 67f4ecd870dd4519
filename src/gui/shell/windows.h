// The program's windows with their classes, as only the shell knows them: each created once
// at start-up in this order and reused. The windows themselves reach one another by role
// (gui/common/windowroles.h).
#pragma once

namespace kivo::gui {

class TfrmMain;
class TfrmEnterData;
class TfrmPassword;
class TfrmAbout;
class TfrmChangePasswords;
class TfrmNewPassword;
class TfrmInformation;
class TfrmReceiveRadio;
class TfrmInfoRadio;
class TfrmViewDefault;
class TfrmAlarmTypes;
class TfrmSelectDirectory;
class TfrmSelectHomeAway;
class TfrmBasicProgPlus;
class TfrmKivoWizard;

struct Windows {
    TfrmMain* main = nullptr;
    TfrmEnterData* enterData = nullptr;
    TfrmReceiveRadio* receiveRadio = nullptr;
    TfrmPassword* password = nullptr;
    TfrmKivoWizard* wizard = nullptr;
    TfrmAbout* about = nullptr;
    TfrmInfoRadio* infoRadio = nullptr;
    TfrmViewDefault* viewDefault = nullptr;
    TfrmAlarmTypes* alarmTypes = nullptr;
    TfrmSelectDirectory* selectDirectory = nullptr;
    TfrmSelectHomeAway* selectHomeAway = nullptr;
    TfrmChangePasswords* changePasswords = nullptr;
    TfrmNewPassword* newPassword = nullptr;
    TfrmBasicProgPlus* basicProgPlus = nullptr;
    TfrmInformation* information = nullptr;
};

} // namespace kivo::gui
