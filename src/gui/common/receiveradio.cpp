#include "gui/common/receiveradio.h"

#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/picture.h"
#include "gui/common/placement.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(400, 252);
constexpr int kGroupWidth = 384;
constexpr QSize kPictureSize(112, 160);

} // namespace

TfrmReceiveRadio::TfrmReceiveRadio(QWidget* parent)
    // Fixed size, a title bar without buttons: the wait ends by the transmitter or by Abort.
    : QDialog(parent, FrameFlags(Frame::TitleOnly)) {
    setObjectName(QStringLiteral("frmReceiveRadio"));
    gbxReceiveRadio = new QGroupBox(this);
    gbxReceiveRadio->setObjectName(QStringLiteral("gbxReceiveRadio"));
    gbxReceiveRadio->setFixedWidth(kGroupWidth);
    imgTransmitter =
        new SvgPicture(QString::fromLatin1(kTransmitterPicture), kPictureSize, gbxReceiveRadio);
    imgTransmitter->setObjectName(QStringLiteral("imgTransmitter"));
    lblAction = new QLabel(gbxReceiveRadio);
    lblAction->setObjectName(QStringLiteral("lblAction"));
    lblAction->setWordWrap(true);
    lblAction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNote = new QLabel(gbxReceiveRadio);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btbtnAbort = new QPushButton(this);
    btbtnAbort->setObjectName(QStringLiteral("btbtnAbort"));
    btbtnAbort->setMinimumSize(75, 25);
    btbtnAbort->setAutoDefault(false);
    connect(btbtnAbort, &QPushButton::clicked, this, [this] { btbtnAbortClick(); });

    auto* texts = new QVBoxLayout;
    texts->setSpacing(12);
    texts->addWidget(lblAction);
    texts->addStretch(1);
    texts->addWidget(lblNote);

    auto* group = new QHBoxLayout(gbxReceiveRadio);
    group->setContentsMargins(12, 10, 12, 10);
    group->setSpacing(16);
    group->addWidget(imgTransmitter, 0, Qt::AlignTop);
    group->addLayout(texts);
    group->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btbtnAbort);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(gbxReceiveRadio, 1);
    layout->addLayout(buttons);

    lblAction->setFixedWidth(TextWidth());
    lblNote->setFixedWidth(TextWidth());
    // The captions are in place from the start, so the first fit already counts them.
    gbxReceiveRadio->setTitle(QStr(15015));
    lblNote->setText(QStr(15016));
    btbtnAbort->setText(CancelCaption());
    Fit();
}

int TfrmReceiveRadio::TextWidth() const {
    return static_cast<int>(0.58 * gbxReceiveRadio->width());
}

void TfrmReceiveRadio::Fit() {
    FitFixedSize(this, kClientSize);
}

void TfrmReceiveRadio::SetTitle(const QString& text) {
    setWindowTitle(text);
}

void TfrmReceiveRadio::SetActionText(const QString& text) {
    lblAction->setFixedWidth(TextWidth());
    // The string table's line breaks are "\r\n"; a label breaks at "\n".
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lblAction->setText(shown);
    Fit();
}

void TfrmReceiveRadio::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmReceiveRadio::FormShow() {
    gbxReceiveRadio->setTitle(QStr(15015));
    lblNote->setFixedWidth(TextWidth());
    lblNote->setText(QStr(15016));
    btbtnAbort->setText(CancelCaption());
    Fit();
    // Above whichever window opened it (the editor or the info dialog).
    if (QWidget* opener = QApplication::activeWindow(); opener != this) StayAbove(this, opener);
    CentreOnScreen(this);
}

void TfrmReceiveRadio::btbtnAbortClick() {
    done(mrAbort);
}

void TfrmReceiveRadio::reject() {
    done(mrAbort);
}

} // namespace kivo::gui
