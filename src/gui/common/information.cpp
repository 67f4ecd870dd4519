#include "gui/common/information.h"

#include "gui/common/frame.h"
#include "gui/common/picture.h"
#include "gui/common/placement.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(561, 218);
constexpr QSize kIconSize(41, 41);

QString Lines(QString text) {
    // The string table keeps Windows line ends.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

TfrmInformation::TfrmInformation(QWidget* parent) : QDialog(parent, FrameFlags(Frame::SystemMenu)) {
    setObjectName(QStringLiteral("frmInformation"));
    Image1 = new SvgPicture(QString::fromLatin1(kInfoPicture), kIconSize, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    lblMess1 = new QLabel(this);
    lblMess1->setObjectName(QStringLiteral("lblMess1"));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    // The band in the highlight colour of the standard scheme: white, with the text colour
    // that goes with it.
    Panel1->setAutoFillBackground(true);
    QPalette band = Panel1->palette();
    band.setColor(QPalette::Window, band.color(QPalette::Base));
    band.setColor(QPalette::WindowText, band.color(QPalette::Text));
    Panel1->setPalette(band);
    Image2 = new SvgPicture(QString::fromLatin1(kInfoPicture), kIconSize, Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    lblMess2 = new QLabel(Panel1);
    lblMess2->setObjectName(QStringLiteral("lblMess2"));
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setMinimumSize(75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    const int labelWidth = kClientSize.width() * 83 / 100;
    for (QLabel* l : {lblMess1, lblMess2}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setFixedWidth(labelWidth);
    }

    auto* top = new QHBoxLayout;
    top->setContentsMargins(24, 24, 16, 0);
    top->setSpacing(15);
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(lblMess1, 0, Qt::AlignTop);
    top->addStretch(1);

    auto* bandLayout = new QHBoxLayout(Panel1);
    bandLayout->setContentsMargins(8, 8, 0, 8);
    bandLayout->setSpacing(10);
    bandLayout->addWidget(Image2, 0, Qt::AlignTop);
    bandLayout->addWidget(lblMess2, 0, Qt::AlignTop);
    bandLayout->addStretch(1);

    auto* bandRow = new QHBoxLayout;
    bandRow->setContentsMargins(16, 0, 16, 0);
    bandRow->addWidget(Panel1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(btnOK);
    buttonRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 9);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addSpacing(16);
    layout->addStretch(1);
    layout->addLayout(bandRow);
    layout->addSpacing(15);
    layout->addLayout(buttonRow);

    Panel1->setMinimumHeight(73);
    setWindowTitle(QStringLiteral("Information"));
    btnOK->setText(OkCaption());
    FitFixedSize(this, kClientSize);
}

void TfrmInformation::ShowMessages(QWidget* over, const QString& first, const QString& second) {
    over_ = over;
    SetMessages(first, second);
    exec();
}

void TfrmInformation::SetMessages(const QString& first, const QString& second) {
    lblMess1->setText(Lines(first));
    lblMess2->setText(Lines(second));
}

void TfrmInformation::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmInformation::FormShow() {
    // Taller when the messages need it; the width stays, the labels wrap inside it.
    FitFixedSize(this, kClientSize);
    const int labelWidth = width() * 83 / 100;
    lblMess1->setFixedWidth(labelWidth);
    lblMess2->setFixedWidth(labelWidth);
    FitFixedSize(this, kClientSize);
    StayAbove(this, over_);
    CentreOver(this, over_);
    setWindowTitle(QStringLiteral("Information"));
    btnOK->setText(OkCaption());
}

} // namespace kivo::gui
