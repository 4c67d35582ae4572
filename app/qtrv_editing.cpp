// Editing the settings in the window, and Save, the one action that sends them.
#include "qtrv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTpsNormal = QStringLiteral("TPS = Normal");
const QString kTpsReverse = QStringLiteral("TPS = Reverse");
const QString kEbrakeOn = QStringLiteral("Ebrake Cut = On");
const QString kEbrakeOff = QStringLiteral("Ebrake Cut = Off");

} // namespace

QList<QTRV::PercentBox> QTRV::percentBoxes() const {
    return {{tAccel, lAccel, kDriveRange}, {tDecel, lDecel, kDriveRange},
            {tTurn, lTurn, kDriveRange},   {tMax, lMax, kOutputRange},
            {tMin, lMin, kOutputRange},    {tLFB, Label2, kOutputRange}};
}

void QTRV::connectEditing() {
    connect(tAccel, &QLineEdit::textChanged, this, &QTRV::tAccel_Change);
    connect(tDecel, &QLineEdit::textChanged, this, &QTRV::tDecel_Change);
    connect(tTurn, &QLineEdit::textChanged, this, &QTRV::tTurn_Change);
    connect(tMax, &QLineEdit::textChanged, this, &QTRV::tMax_Change);
    connect(tMin, &QLineEdit::textChanged, this, &QTRV::tMin_Change);
    connect(tLFB, &QLineEdit::textChanged, this, &QTRV::tLFB_Change);
    connect(bTPS, &QPushButton::clicked, this, &QTRV::bTPS_Click);
    connect(bEbrk, &QPushButton::clicked, this, &QTRV::bEbrk_Click);
    connect(bCalG, &QPushButton::clicked, this, &QTRV::bCalG_Click);
    connect(bDef, &QPushButton::clicked, this, &QTRV::bDef_Click);
    connect(bSave, &QPushButton::clicked, this, &QTRV::bSave_Click);
}

void QTRV::tAccel_Change() {
    tStatus->setText(QStringLiteral("Accel Changed, save required."));
}

void QTRV::tDecel_Change() {
    tStatus->setText(QStringLiteral("Decel Changed, save required."));
}

void QTRV::tTurn_Change() {
    tStatus->setText(QStringLiteral("Turning Changed, save required."));
}

void QTRV::tMax_Change() {
    tStatus->setText(QStringLiteral("Maximum Changed, save required."));
}

void QTRV::tMin_Change() {
    tStatus->setText(QStringLiteral("Minimum Changed, save required."));
}

void QTRV::tLFB_Change() {
    tStatus->setText(QStringLiteral("LFB Threshold Changed, save required."));
}

// The switch is read from its caption: anything but the clear caption counts as set.
void QTRV::bTPS_Click() {
    const bool wasClear = bTPS->text() == kTpsNormal;
    bTPS->setText(wasClear ? kTpsReverse : kTpsNormal);
    m_parameters.TpsReverse = wasClear;
    tStatus->setText(QStringLiteral("TPS Changed, save required."));
}

void QTRV::bEbrk_Click() {
    const bool wasClear = bEbrk->text() == kEbrakeOn;
    bEbrk->setText(wasClear ? kEbrakeOff : kEbrakeOn);
    m_parameters.EbrakeCutOff = wasClear;
    tStatus->setText(QStringLiteral("Ebrake Changed, save required."));
}

void QTRV::bCalG_Click() {
    bCalG->setEnabled(false);
    m_parameters.CalibrateG = true;
    tStatus->setText(QStringLiteral("G-Sensor changed, save required."));
}

void QTRV::bDef_Click() {
    const QString defaults[] = {QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("100"),
                                QStringLiteral("100"), QStringLiteral("0"),   QStringLiteral("33")};
    const QList<QLineEdit*> boxes{tAccel, tDecel, tTurn, tMax, tMin, tLFB};
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        boxes[i]->setText(defaults[i]);
    }
    m_parameters.TpsReverse = false;
    bTPS->setText(kTpsNormal);
    m_parameters.EbrakeCutOff = false;
    bEbrk->setText(kEbrakeOn);
    m_parameters.CalibrateG = false; // bCalG keeps its enabled state
    tStatus->setText(QStringLiteral("Default loaded, save required."));
}

void QTRV::bSave_Click() {
    BoxTexts texts;
    const QList<PercentBox> boxes = percentBoxes();
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const PercentBox& p = boxes[i];
        const LimitedText limited = LimitBoxText(p.box->text().toStdString(), p.range);
        if (!limited.usable) {
            // Boxes before this one keep the limits already written into them.
            tStatus->setText(
                QStringLiteral("Save not sent: %1 is not a number.").arg(p.caption->text()));
            p.box->setFocus();
            return;
        }
        if (limited.text) {
            p.box->setText(QString::fromStdString(*limited.text));
        }
        texts[static_cast<std::size_t>(i)] = p.box->text().toStdString();
    }
    const auto command = SaveCommand(texts, m_parameters);
    if (!command || !MSComm1->output(QByteArray::fromStdString(*command))) {
        tStatus->setText(QStringLiteral("Save did not go out: the port did not take it."));
        return;
    }
    tStatus->setText(QStringLiteral("Save was successful!"));
}
