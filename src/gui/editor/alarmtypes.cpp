#include "gui/editor/alarmtypes.h"

#include "data/memorymap.h"
#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "gui/editor/enterdata.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <vector>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(776, 521);
constexpr int kRowHeight = 20;
constexpr int kBitColumnWidth = 17;

// The columns, most significant bit first, with the name part of their heading labels.
struct Bit {
    unsigned mask;
    int text;
    const char* name;
};
const Bit kBits[] = {
    {mm::FlagActive, 13331, "On"},
    {mm::FlagSendDirectly, 13332, "Send"},
    {mm::FlagMicrophone, 13333, "Microphone"},
    {mm::FlagSpeaker, 13334, "Speaker"},
    {mm::FlagMayCancel, 13335, "Reset"},
    {mm::FlagSpeakerDialling, 13336, "Audio"},
    {mm::FlagHighPriority, 13337, "Priority"},
    {0x01, 13338, "MeetMe"}, // reserved
};

// One row: the definition byte, its label text and the main-page tick box that shows its
// "on" bit (nullptr: edited here only).
struct AlarmType {
    mm::Addr addr;
    int text;
    const char* mainPage;
};

// Screen order of the left and the right half.
const AlarmType kLeft[] = {
    {mm::FlagUserAlarmTrigger, 13303, nullptr},
    {mm::FlagTriggerLowBattery, 13324, nullptr},
    {mm::FlagUserAlarmButton, 13304, "cbFrontButton"},
    {mm::FlagReminder, 13305, "cbReminder"},
    {mm::FlagPassive, 13306, "cbPassive"},
    {mm::FlagDoor, 13307, nullptr},
    {mm::FlagBed, 13308, nullptr},
    {mm::FlagHomeIndication, 13309, "cbCarpetAlarm"},
    {mm::FlagMainsFailure, 13310, "cbMainsFailure"},
    {mm::FlagMainsOk, 13311, "cbMainsOK"},
    {mm::FlagAccumulator, 13312, "cbAccumulator"},
    {mm::FlagBattery, 13313, nullptr},
    {mm::FlagSmoke, 13314, nullptr},
    {mm::FlagBurglar, 13315, "cbAssaultAlarm"},
};
const AlarmType kRight[] = {
    {mm::FlagPresence, 13316, nullptr},
    {mm::FlagReady, 13317, nullptr},
    {mm::FlagAutoReady, 13318, "cbAutoReady"},
    {mm::FlagAction, 13319, nullptr},
    {mm::FlagTestAlarm, 13320, "cbTestAlarm"},
    {mm::FlagAccumulatorFull, 13321, "cbEmergencyAlarm"},
    {mm::FlagAssistance, 13322, "cbAssistance"},
    {mm::FlagUserDefined, 13323, nullptr},
    {mm::FlagLogCall, 13326, "cbLogCall"},
    {mm::FlagRadioInterference, 13325, "cbRadioInterference"},
    {mm::FlagRadioOutOfRange, 13327, "cbRadioOutOfRange"},
    {mm::FlagRadioWithinRange, 13328, "cbRadioWithinRange"},
    {mm::FlagAway, 13329, "cbInactivity"},
};

// Every row, left half first.
template <class F> void ForEachAlarmType(F f) {
    for (const AlarmType& type : kLeft) f(type);
    for (const AlarmType& type : kRight) f(type);
}

QString Hex2(unsigned v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

QString BoxName(unsigned addr, unsigned mask) {
    return QStringLiteral("cb") + Hex2(addr) + QLatin1Char('_') + Hex2(mask);
}

// A label text as a caption with accelerator characters shows it: "&&" is one "&", and a lone
// "&" marks the next letter (these labels have no shortcut, so it is just dropped).
QString AsCaption(const QString& text) {
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// One half of the grid: the row labels, the tick boxes, and the column headings in two
// staggered lines, each centred over its column once the layout has placed the boxes.
class AlarmTypeHalf : public QWidget {
public:
    AlarmTypeHalf(const AlarmType* rows, int count, char side, QWidget* parent) : QWidget(parent) {
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(0);
        grid->setVerticalSpacing(0);
        for (const Bit& bit : kBits) {
            auto* heading = new QLabel(QStr(bit.text), this);
            heading->setObjectName(QStringLiteral("lbl") + QLatin1String(bit.name) +
                                   QLatin1Char(side));
            heading->resize(heading->sizeHint());
            headings_.push_back(heading);
        }
        // Two heading lines above the first row.
        const int line = fontMetrics().height();
        grid->setRowMinimumHeight(0, 2 * line + 4);
        for (int r = 0; r < count; ++r) {
            const AlarmType& type = rows[r];
            auto* label = new QLabel(AsCaption(QStr(type.text)), this);
            label->setObjectName(QStringLiteral("lblAlarmType_") + Hex2(type.addr));
            label->setMinimumHeight(kRowHeight);
            grid->addWidget(label, r + 1, 0);
            for (int b = 0; b < 8; ++b) {
                auto* box = new QCheckBox(this);
                box->setObjectName(BoxName(type.addr, kBits[b].mask));
                grid->addWidget(box, r + 1, b + 1, Qt::AlignCenter);
                if (r == 0) firstRow_.push_back(box);
            }
        }
        for (int b = 0; b < 8; ++b) grid->setColumnMinimumWidth(b + 1, kBitColumnWidth);
        grid->setColumnStretch(0, 1);
        grid->setRowStretch(count + 1, 1);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        PlaceHeadings();
    }
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        PlaceHeadings();
    }

private:
    void PlaceHeadings() {
        if (firstRow_.size() != headings_.size()) return;
        const int line = fontMetrics().height();
        for (std::size_t b = 0; b < headings_.size(); ++b) {
            QLabel* h = headings_[b];
            const QSize size = h->sizeHint();
            const int centre = firstRow_[b]->geometry().center().x();
            const int x = std::max(0, std::min(centre - size.width() / 2, width() - size.width()));
            h->setGeometry(x, b % 2 == 0 ? 0 : line, size.width(), size.height());
        }
    }

    std::vector<QLabel*> headings_;
    std::vector<QCheckBox*> firstRow_;
};

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, int text, int lines) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setPlainText(QStr(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Room for every line of the text, plus one should a line wrap.
    const int frame =
        2 * memo->frameWidth() + 2 * static_cast<int>(memo->document()->documentMargin());
    memo->setMinimumHeight(memo->fontMetrics().lineSpacing() * (lines + 1) + frame);
    return memo;
}

} // namespace

TfrmAlarmTypes::TfrmAlarmTypes(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAlarmTypes"));
    setWindowTitle(QStr(13301));

    gbxAlarmTypes = new QGroupBox(QStr(13302), this);
    gbxAlarmTypes->setObjectName(QStringLiteral("gbxAlarmTypes"));
    auto* left = new AlarmTypeHalf(kLeft, static_cast<int>(std::size(kLeft)), 'L', gbxAlarmTypes);
    auto* right =
        new AlarmTypeHalf(kRight, static_cast<int>(std::size(kRight)), 'R', gbxAlarmTypes);
    pnlSeparator = new QFrame(gbxAlarmTypes);
    pnlSeparator->setObjectName(QStringLiteral("pnlSeparator"));
    pnlSeparator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    pnlSeparator->setFixedWidth(3);

    mmExplanationLeft = MakeMemo(gbxAlarmTypes, "mmExplanationLeft", 13341, 4);
    mmExplanationRight = MakeMemo(gbxAlarmTypes, "mmExplanationRight", 13342, 3);
    const int memoHeight =
        std::max(mmExplanationLeft->minimumHeight(), mmExplanationRight->minimumHeight());
    mmExplanationLeft->setFixedHeight(memoHeight);
    mmExplanationRight->setFixedHeight(memoHeight);

    auto* halves = new QHBoxLayout;
    halves->setSpacing(8);
    halves->addWidget(left, 1);
    halves->addWidget(pnlSeparator);
    halves->addWidget(right, 1);
    auto* memos = new QHBoxLayout;
    memos->setSpacing(19); // the memos line up with the halves on both sides of the panel
    memos->addWidget(mmExplanationLeft, 1);
    memos->addWidget(mmExplanationRight, 1);
    auto* group = new QVBoxLayout(gbxAlarmTypes);
    group->setContentsMargins(8, 6, 8, 8);
    group->setSpacing(10);
    group->addLayout(halves, 1);
    group->addLayout(memos);

    QHBoxLayout* buttons = OkCancelRow(this, btnOK, btnCancel);
    connect(btnOK, &QPushButton::clicked, this, &TfrmAlarmTypes::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(gbxAlarmTypes, 1);
    layout->addLayout(buttons);

    FitFixedSize(this, kClientSize);
}

QCheckBox* TfrmAlarmTypes::Box(unsigned addr, unsigned mask) const {
    return gbxAlarmTypes->findChild<QCheckBox*>(BoxName(addr, mask));
}

void TfrmAlarmTypes::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmAlarmTypes::FormShow() {
    auto* editor = ctx_.windows.As<TfrmEnterData>(Role::Editor);
    StayAbove(this, editor);
    CentreOver(this, editor);
    if (editor) {
        const Image& image = editor->Data().image;
        ForEachAlarmType([&](const AlarmType& type) {
            for (const Bit& bit : kBits)
                Box(type.addr, bit.mask)->setChecked(image[type.addr] & bit.mask);
        });
    }
    btnOK->setFocus();
}

void TfrmAlarmTypes::btnOKClick() {
    if (auto* editor = ctx_.windows.As<TfrmEnterData>(Role::Editor)) {
        Image& image = editor->Data().image;
        ForEachAlarmType([&](const AlarmType& type) {
            if (type.mainPage)
                if (auto* box = editor->findChild<QCheckBox*>(QLatin1String(type.mainPage)))
                    box->setChecked(Box(type.addr, mm::FlagActive)->isChecked());
            // The byte is replaced whole by the sum of its ticked boxes.
            unsigned byte = 0;
            for (const Bit& bit : kBits)
                if (Box(type.addr, bit.mask)->isChecked()) byte |= bit.mask;
            image[type.addr] = static_cast<std::uint8_t>(byte);
        });
    }
    accept();
}

} // namespace kivo::gui
