// Form1's event handlers: inputs, LED colour, blinking and the menu.
#include "form1.h"

#include "auxwindows.h"
#include "controls.h"
#include "conversions.h"
#include "ledcolours.h"
#include "mysettings.h"
#include "settingsstore.h"

#include <QApplication>
#include <QMessageBox>

namespace kestrelon {

void Form1::Form_Load() {
    show();
    m_model.ledColour = {kLedChoices[0].colour, kBlue};
    GetMySettings();
    // Derive R1 and R2 in every case: a slider restored to its design value raised no event.
    for (qint16 k = 0; k < 2; ++k) {
        hsR1_Change(k);
        vsR2_Change(k);
        vsVin_Change(k);
    }
    SetLedColour1();
    SetLedColour2();
}

void Form1::Text1_Change(qint16 Index) {
    if (Index != 0 && Index != 1)
        return;
    // Writing the text raises this handler again at once, which recalculates with the cap.
    if (parse(m_Text1[Index]->text()) > kFamily.supplyAbsoluteMax)
        m_Text1[Index]->setText(QString::number(kFamily.supplyAbsoluteMax));
    calcChip(Index);
}

void Form1::txtLED_Change(qint16 Index) {
    calcChip(Index);
}

void Form1::txtVin_Change(qint16 Index) {
    vsVin_Change(Index);
    calcChip(Index);
}

void Form1::txtRLo_Change(qint16 Index) {
    vsRLo_Change(Index);
    calcChip(Index);
}

void Form1::txtRHi_Change(qint16 Index) {
    vsRHi_Change(Index);
    calcChip(Index);
}

void Form1::hsR1_Change(qint16 Index) {
    if (Index != 0 && Index != 1)
        return;
    recalculate(Index, [this, Index] { m_model.setR1FromSlider(Index, m_hsR1[Index]->value()); });
}

void Form1::hsR1_Scroll(qint16 Index) {
    hsR1_Change(Index);
}

void Form1::vsR2_Change(qint16 Index) {
    if (Index != 0 && Index != 1)
        return;
    m_bug0->setCaption(integerToText(Index));
    vsR2_Scroll(Index);
}

void Form1::vsR2_Scroll(qint16 Index) {
    if (Index != 0 && Index != 1)
        return;
    m_model.setR2FromSlider(Index, m_vsR2[Index]->value());
    calcChip(Index);
}

void Form1::vsVin_Change(qint16 Index) {
    calcChip(Index);
}
void Form1::vsVin_Scroll(qint16 Index) {
    calcChip(Index);
}
void Form1::vsRLo_Change(qint16 Index) {
    calcChip(Index);
}
void Form1::vsRLo_Scroll(qint16 Index) {
    calcChip(Index);
}
void Form1::vsRHi_Change(qint16 Index) {
    calcChip(Index);
}
void Form1::vsRHi_Scroll(qint16 Index) {
    calcChip(Index);
}

void Form1::optRLo_Click(qint16) {
    vsRLo_Change(0);
    CalcChip1();
}

void Form1::optRLo1_Click(qint16) {
    vsRLo_Change(1);
    CalcChip2();
}

void Form1::optRHi_Click(qint16) {
    vsRHi_Change(0);
    CalcChip1();
}

void Form1::optRHi1_Click(qint16) {
    vsRHi_Change(1);
    CalcChip2();
}

void Form1::optMode_click(qint16) {
    CalcChip1();
    CalcChip2();
}

void Form1::optMode1_Click(qint16) {
    CalcChip1();
    CalcChip2();
}

void Form1::chkSlave_Click() {
    CalcChip1();
    CalcChip2();
}

void Form1::optLED_Click(qint16) {
    SetLedColour1();
}

void Form1::optLED2_Click(qint16) {
    SetLedColour2();
}

void Form1::SetChipType(int chip, ChipKind kind) {
    m_chipKind[chip] = kind;
    calcChip(static_cast<qint16>(chip));
}

void Form1::SetLedColour1() {
    setLedColour(0);
}

void Form1::SetLedColour2() {
    setLedColour(1);
}

void Form1::setLedColour(int chip) {
    // A group left without a selection keeps the colour and forward voltage it had.
    for (std::size_t i = 0; i < kLedChoices.size(); ++i) {
        if (m_optLED[chip][i]->isChecked()) {
            m_model.ledColour[chip] = kLedChoices[i].colour;
            m_model.ledVf[chip] = kLedChoices[i].forwardVoltage;
        }
    }
    calcChip(static_cast<qint16>(chip));
}

void Form1::Timer1_Timer() {
    blink(0);
}

void Form1::Timer2_Timer() {
    blink(1);
}

void Form1::blink(int chip) {
    int& count = chip == 0 ? BlinkCount1 : BlinkCount2;
    if (const auto colour = blinkTick(count))
        changeView(chip, [&colour](ChipView& view) { view.lblmAForeColor = *colour; });
}

void Form1::GetMySettings() {
    if (m_store)
        kestrelon::GetMySettings(*m_store, *this);
    placeOnceFramed();
}

bool Form1::SaveMySettings() {
    if (!m_store)
        return true;
    const SaveResult result = kestrelon::SaveMySettings(*m_store, *this);
    if (!result) {
        QMessageBox::critical(this, QStringLiteral("Kestrelon"),
                              result.message() +
                                  QStringLiteral("\n\nYour settings were not saved; the previously "
                                                 "saved settings are unchanged."));
    }
    return result.ok;
}

void Form1::mnuExit_Click() {
    const bool saved = SaveMySettings();
    for (ui::Timer* timer : m_timers)
        timer->stop();
    closeAuxWindows();
    // End before closing, so no other handler runs in between.
    if (m_endProgram)
        m_endProgram(saved ? 0 : 1);
    close();
}

void Form1::mnuAbout_Click() {
    showAboutBox();
}

void Form1::mnuHelp_Click() {
    showHelpWindow();
}

} // namespace kestrelon
