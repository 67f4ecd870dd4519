// Showing a page (its texts and the values the core gives it) and reading its controls back.
#include "gui/guided/kivowizard.h"

#include "app/strtable.h"
#include "gui/common/messages.h"
#include "gui/common/updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace kivo::gui {

namespace {

using namespace wizard;

// The memo is emptied and filled line by line; a text of the table may hold several lines.
void SetMemo(QPlainTextEdit* memo, const QStringList& lines) {
    memo->clear();
    for (QString line : lines) {
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        memo->appendPlainText(line);
    }
    memo->moveCursor(QTextCursor::Start);
}

void Select(QComboBox* combo, const ValueList& values, int value) {
    combo->setCurrentIndex(value < 0 ? -1 : IndexOfValue(values, value));
}

int Chosen(const QComboBox* combo, const ValueList& values) {
    return ValueAtIndex(values, combo->currentIndex());
}

} // namespace

void TfrmKivoWizard::ShowPage() {
    const int state = answers_.state;
    const int sheet = SheetOf(state);
    if (sheet < 0) return;
    pgcWizard->setCurrentIndex(sheet);
    ShowPagePicture(state);
    if (state == StateStart) InitAnswers();
    const PageValues v = Show(answers_, data_.image);
    const QString info = QStr(11004);

    switch (sheet) {
    case 0:
        lblTopInfo->setText(QStr(11002));
        gbxInfoStart->setTitle(info);
        SetMemo(mmStart, {QStr(11012)});
        break;
    case 1: {
        const int t = state - StateFirstType + 1;
        lblTopInfo->setText(QStr(11011));
        gbxInfoRadio->setTitle(info);
        SetMemo(mmRadioAlarms,
                {QStr(11013), QString(), QStr(state < StateLastType ? 11013 + t : 11019)});
        gbxQuestionRadio->setTitle(QStr(11005));
        lblHowManyRadioAlarms->setText(Q(
            FormatText(Str(11020), {std::to_string(answers_.defaultCounts[t - 1]), TypeName(t)})));
        edtHowManyRadioAlarms->setText(Q(v.count));
        break;
    }
    case 2:
        lblTopInfo->setText(QStr(11031));
        gbxInfoTestAlarm->setTitle(info);
        SetMemo(mmTestAlarm, {QStr(11032)});
        gbxQuestionTestAlarm->setTitle(QStr(11033));
        cbTestAlarm->setText(QStr(11034));
        cbbxTestAlarmUnit->setItemText(0, QStr(13197));
        cbbxTestAlarmUnit->setItemText(1, QStr(13198));
        cbbxTestAlarmUnit->setCurrentIndex(v.testInDays ? 1 : 0);
        edtTestAlarmValue->setText(Q(v.testValue));
        cbTestAlarm->setChecked(v.testAlarm);
        break;
    case 3: {
        const InternalAlarmPage page = InternalAlarmOf(state);
        const int b = page.textBase;
        for (QWidget* w : std::initializer_list<QWidget*>{edtInternalAlarms, lblInternalAlarmsUnit,
                                                          cbbxAlarmTypeExtraButton, lblExtraButton,
                                                          cbInternalAlarms})
            w->hide();
        lblTopInfo->setText(QStr(b));
        gbxInfoMainsReminder->setTitle(info);
        SetMemo(mmInternalAlarms, {QStr(b + 1)});
        gbxInternalAlarms->setTitle(QStr(b + 2));
        if (page.extraButton) {
            lblExtraButton->setText(QStr(b + 3));
            lblExtraButton->show();
            Select(cbbxAlarmTypeExtraButton, alarmTypeValues_, v.extraButtonType);
            cbbxAlarmTypeExtraButton->show();
            cbbxAlarmTypeExtraButton->setEnabled(true);
        } else {
            cbInternalAlarms->setText(QStr(b + 3));
            cbInternalAlarms->setChecked(v.internalTick);
            cbInternalAlarms->show();
        }
        if (page.timeAddress >= 0) {
            edtInternalAlarms->setText(Q(v.internalTime));
            lblInternalAlarmsUnit->setText(QStr(page.unitText));
            edtInternalAlarms->show();
            lblInternalAlarmsUnit->show();
        }
        break;
    }
    case 4:
        lblTopInfo->setText(QStr(11161));
        gbxInfoPreCall->setTitle(info);
        SetMemo(mmPrecallSignal, {QStr(11162)});
        gbxPrecallSignal->setTitle(QStr(11163));
        lblPrecall_1->setText(QStr(11165));
        lblPrecall_2->setText(QStr(11166));
        lblPrecall_3->setText(QStr(13194));
        Select(cbbxPrecallType, precallValues_, v.precallType);
        edtPrecallDuration->setText(Q(v.precallDuration));
        break;
    case 5:
        lblTopInfo->setText(QStr(11171));
        gbxInfoChooseReceiverList->setTitle(info);
        SetMemo(mmChooseReceiverList, {QStr(11172)});
        rgOnlyOneReceiverList->setTitle(QStr(11173));
        rgOnlyOneReceiverListItems[0]->setText(QStr(11174));
        rgOnlyOneReceiverListItems[1]->setText(QStr(11175));
        rgOnlyOneReceiverListItems[v.severalLists ? 1 : 0]->setChecked(true);
        break;
    case 6: {
        const int L = state - StateFirstGroups + 1;
        lblTopInfo->setText(QStr(11180 + L));
        gbxInfoSelectGroup->setTitle(info);
        SetMemo(mmSelectGroupInfo, {QStr(11185)});
        gbxMultiReceiverList->setTitle(QStr(11190 + L));
        for (int g = 0; g < kGroups; ++g) {
            cbAlarmTypeGroup[g]->setText(QStr(11195 + 2 * g));
            lblAlarmTypeGroup[g]->setText(QStr(11196 + 2 * g));
            cbAlarmTypeGroup[g]->setEnabled((v.available >> g) & 1u);
            cbAlarmTypeGroup[g]->setChecked((v.groups >> g) & 1u);
        }
        break;
    }
    case 7: {
        if (state == StateOneList) {
            lblTopInfo->setText(QStr(11241));
            gbxInfoReceiverList->setTitle(info);
            SetMemo(mmReceiverList, {QStr(11242), QString()});
            lblTelephoneNumberTip->setText(QStr(11301));
            gbxReceiverList->setTitle(QStr(11243));
            lblPhoneNumber->setText(QStr(11244));
            lblProtocol->setText(QStr(11245));
            lblMaxCallAttempts->setText(QStr(11246));
            for (int j = 0; j < kAttempts; ++j) lblAttempt[j]->setText(QStr(11247 + j));
        } else {
            // The frame's other texts stay as page 60 (or the window's creation) set them.
            const int d = state - StateFirstList + 1;
            lblTopInfo->setText(QStr(11180 + d));
            QStringList names;
            for (const std::string& name : v.listGroupNames) names << Q(name);
            SetMemo(mmReceiverList,
                    {QStr(11220 + d),
                     names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))});
            gbxReceiverList->setTitle(QStr(11224 + d));
        }
        for (int j = 0; j < kAttempts; ++j) {
            edtPhone[j]->setText(Q(v.phone[j]));
            Select(cbbxProtocol[j], protocolValues_, v.protocol[j]);
            edtCallAttempts[j]->setText(Q(v.attempts[j]));
            for (QWidget* w : std::initializer_list<QWidget*>{edtPhone[j], cbbxProtocol[j],
                                                              edtCallAttempts[j], udAttempts[j]})
                w->setEnabled(v.rowsEnabled);
        }
        break;
    }
    case 8:
        lblTopInfo->setText(QStr(11261));
        gbxInfoNightMode->setTitle(info);
        SetMemo(mmNightMode, {QStr(11262)});
        lblNightModePhoneNumberTip->setText(QStr(11301));
        gbxQuestionNightMode->setTitle(QStr(11263));
        cbActivateNightMode->setText(QStr(11264));
        lblNightModePhone->setText(QStr(11244));
        lblNightModeProtocol->setText(QStr(11245));
        lblNightModeCallAttempts->setText(QStr(11246));
        edtNightModePhone->setText(Q(v.nightPhone));
        Select(cbbxNightModeProtocol, protocolValues_, v.nightProtocol);
        edtNightModeCallAttempts->setText(Q(v.nightAttempts));
        cbActivateNightMode->setChecked(v.nightMode);
        break;
    case 9:
        lblTopInfo->setText(QStr(11271));
        gbxInfoSaveConfig->setTitle(info);
        SetMemo(mmSaveConfig, {QStr(11272)});
        gbxQuestionSaveConfig->setTitle(QStr(11273));
        cbSaveConfigAs->setText(QStr(11274));
        cbSaveConfigAs->setChecked(v.saveConfig);
        edtSaveConfigAs->setText(Q(v.saveName));
        break;
    case 10:
        lblTopInfo->setText(QStr(11281));
        gbxInfoLearnRadio->setTitle(info);
        SetMemo(mmRadioAlarmInfo, {QStr(11282)});
        gbxQuestionLearnRadio->setTitle(QStr(11283));
        lblLearnRadioTransmitter->setText(QStr(11284));
        for (int n = 0; n < kPositions; ++n) {
            edtRadioCode[n]->setText(Q(v.radioCode[n]));
            edtRadioCode[n]->setEnabled(false);
            const QString name = TransmitterName(n + 1);
            btnLearnRadioCode[n]->setText(name.isEmpty() ? QStr(11285) : name);
            btnLearnRadioCode[n]->setEnabled(!name.isEmpty());
        }
        break;
    case 11:
        lblTopInfo->setText(QStr(11291));
        gbxProgramKivoInfo->setTitle(info);
        SetMemo(mmProgramKivo, {QStr(11292)});
        gbxProgramKivo->setTitle(QStr(11293));
        lblAlarmCode->setText(QStr(11294));
        btnProgramKivo->setText(QStr(11295));
        lblProgramKivoNowStatus->setText(QStr(11296));
        btnNext->setEnabled(false);
        btnCancel->setText(QStr(11353));
        break;
    default:
        break;
    }
    RunEnablingRules();
}

PageValues TfrmKivoWizard::ReadPage() const {
    const int state = answers_.state;
    PageValues v;
    auto text = [](const QLineEdit* f) { return f->text().toStdString(); };
    switch (SheetOf(state)) {
    case 1:
        v.count = text(edtHowManyRadioAlarms);
        break;
    case 2:
        v.testAlarm = cbTestAlarm->isChecked();
        v.testValue = text(edtTestAlarmValue);
        v.testInDays = cbbxTestAlarmUnit->currentIndex() == 1;
        break;
    case 3:
        v.internalTick = cbInternalAlarms->isChecked();
        v.internalTime = text(edtInternalAlarms);
        v.extraButtonType = Chosen(cbbxAlarmTypeExtraButton, alarmTypeValues_);
        break;
    case 4:
        v.precallType = Chosen(cbbxPrecallType, precallValues_);
        v.precallDuration = text(edtPrecallDuration);
        break;
    case 5:
        v.severalLists = rgOnlyOneReceiverListItems[1]->isChecked();
        break;
    case 6:
        for (int g = 0; g < kGroups; ++g)
            if (cbAlarmTypeGroup[g]->isChecked()) v.groups |= 1u << g;
        break;
    case 7:
        for (int j = 0; j < kAttempts; ++j) {
            v.phone[j] = text(edtPhone[j]);
            v.protocol[j] = Chosen(cbbxProtocol[j], protocolValues_);
            v.attempts[j] = text(edtCallAttempts[j]);
        }
        break;
    case 8:
        v.nightMode = cbActivateNightMode->isChecked();
        v.nightPhone = text(edtNightModePhone);
        v.nightProtocol = Chosen(cbbxNightModeProtocol, protocolValues_);
        v.nightAttempts = text(edtNightModeCallAttempts);
        break;
    case 9:
        v.saveConfig = cbSaveConfigAs->isChecked();
        v.saveName = text(edtSaveConfigAs);
        break;
    case 10:
        for (int n = 0; n < kPositions; ++n) v.radioCode[n] = text(edtRadioCode[n]);
        break;
    default:
        break;
    }
    return v;
}

void TfrmKivoWizard::WriteBack(const PageValues& values) {
    // The corrections storing makes: an empty count shows "0", night mode off empties its number.
    const int sheet = pgcWizard->currentIndex();
    if (sheet == 1) edtHowManyRadioAlarms->setText(Q(values.count));
    if (sheet == 8) edtNightModePhone->setText(Q(values.nightPhone));
}

void TfrmKivoWizard::RunEnablingRules() {
    cbTestAlarmClick();
    cbInternalAlarmsClick();
    cbActivateNightModeClick();
    cbSaveConfigAsClick();
}

void TfrmKivoWizard::cbTestAlarmClick() {
    const bool on = cbTestAlarm->isChecked();
    edtTestAlarmValue->setEnabled(on);
    cbbxTestAlarmUnit->setEnabled(on);
}

void TfrmKivoWizard::cbInternalAlarmsClick() {
    // The extra button's page has no tick box: its list stays enabled.
    if (cbInternalAlarms->isHidden()) return;
    const bool on = cbInternalAlarms->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{edtInternalAlarms, lblInternalAlarmsUnit,
                                                      cbbxAlarmTypeExtraButton})
        w->setEnabled(on);
}

void TfrmKivoWizard::cbActivateNightModeClick() {
    const bool on = cbActivateNightMode->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             edtNightModePhone, cbbxNightModeProtocol, edtNightModeCallAttempts, lblNightModePhone,
             lblNightModeProtocol, lblNightModeCallAttempts, udNightModeCallAttempts})
        w->setEnabled(on);
}

void TfrmKivoWizard::cbSaveConfigAsClick() {
    edtSaveConfigAs->setEnabled(cbSaveConfigAs->isChecked());
}

} // namespace kivo::gui
