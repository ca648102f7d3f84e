#pragma once

#include "chipmodel.h"
#include "readouts.h"
#include "settingstarget.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;

namespace kestrelon {

class DesignAssistant;
struct WindowEdit;
class ResultNews;
class DesignFiles;
class SettingsStore;

namespace ui {
class Canvas;
class CheckBox;
class Label;
class OptionButton;
class ScrollBar;
class Shape;
class TextBox;
class Timer;
} // namespace ui

// The main window: both chips' schematics with their inputs and read-outs.
class Form1 : public QMainWindow, public SettingsTarget {
    Q_OBJECT
    // Screen position of the window's top-left corner, in twips.
    Q_PROPERTY(float Top READ windowTop WRITE setWindowTop)
    Q_PROPERTY(float Left READ windowLeft WRITE setWindowLeft)

public:
    // How "Exit&Save" ends the program, given the exit code.
    using EndProgram = std::function<void(int exitCode)>;

    // The store is where "Exit&Save" writes and start-up reads; without one, nothing is
    // restored or saved (the window then starts from its design values). Without an end,
    // "Exit&Save" only closes the window. `placesWindows` says whether the window goes where it
    // is moved; by default the running platform decides.
    explicit Form1(std::shared_ptr<SettingsStore> store = nullptr, EndProgram endProgram = {},
                   std::optional<bool> placesWindows = std::nullopt);
    ~Form1() override;

    // Start-up: shows the window, restores the inputs and calculates both chips.
    void Form_Load();
    // Opens a design file into the window; a file that is refused is reported and changes
    // nothing.
    bool openDesign(const QString& path);

    const ChipModel& model() const { return m_model; }

    // SettingsTarget
    float windowTop() const override;
    float windowLeft() const override;
    void setWindowTop(float twips) override;
    void setWindowLeft(float twips) override;
    QString text(std::string_view control, int index) const override;
    void setText(std::string_view control, int index, const QString& text) override;
    std::int16_t sliderValue(std::string_view control, int index) const override;
    std::int16_t sliderMin(std::string_view control, int index) const override;
    std::int16_t sliderMax(std::string_view control, int index) const override;
    void setSliderValue(std::string_view control, int index, std::int16_t value) override;
    bool optionValue(std::string_view control, int index) const override;
    void setOption(std::string_view control, int index, bool value) override;

private:
    void createUi();
    void createMenus();
    void bindControls();
    void connectHandlers();
    void createDesignAssistant();
    // Derives both chips from the inputs just restored, as the start-up does.
    void deriveRestored();
    // Sets inputs as a user would, each raising its handler.
    void applyEdits(const std::vector<WindowEdit>& edits);

    // Recalculation and applying its result to the controls.
    void CalcChip1();
    void CalcChip2();
    void calcChip(qint16 chip);
    // A run of the chip's recalculation; `first` changes the model after the view has been
    // loaded from the read-outs and before the calculation, so what it writes is shown once.
    void recalculate(int chip, const std::function<void()>& first = {});
    PanelInputs panelInputs() const;
    // The chip's view is loaded from what its read-outs show, changed, and shown again.
    void loadView(int chip);
    void showView(int chip);
    // An LED's tooltip gives its threshold on a chip whose scale is not volts.
    void showLedThresholds(int chip);
    template <typename Change> void changeView(int chip, Change change) {
        loadView(chip);
        change(m_model.view[chip]);
        showView(chip);
    }

    // Input handlers, by control and event; Index is the control-array element.
    void Text1_Change(qint16 Index);
    void txtLED_Change(qint16 Index);
    void txtVin_Change(qint16 Index);
    void txtRLo_Change(qint16 Index);
    void txtRHi_Change(qint16 Index);
    void hsR1_Change(qint16 Index);
    void hsR1_Scroll(qint16 Index);
    void vsR2_Change(qint16 Index);
    void vsR2_Scroll(qint16 Index);
    void vsVin_Change(qint16 Index);
    void vsVin_Scroll(qint16 Index);
    void vsRLo_Change(qint16 Index);
    void vsRLo_Scroll(qint16 Index);
    void vsRHi_Change(qint16 Index);
    void vsRHi_Scroll(qint16 Index);
    void optRLo_Click(qint16 Index);
    void optRLo1_Click(qint16 Index);
    void optRHi_Click(qint16 Index);
    void optRHi1_Click(qint16 Index);
    void optMode_click(qint16 Index);
    void optMode1_Click(qint16 Index);
    void chkSlave_Click();
    void optLED_Click(qint16 Index);
    void optLED2_Click(qint16 Index);

    // LED colour and the over-current blinker.
    // The chip's kind, as the context menu or the store chooses it; recalculates the chip.
    void SetChipType(int chip, ChipKind kind);
    void SetLedColour1();
    void SetLedColour2();
    void setLedColour(int chip);
    void Timer1_Timer();
    void Timer2_Timer();
    void blink(int chip);

    // Menu.
    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuHelp_Click();

    void GetMySettings();
    bool SaveMySettings();
    // The window manager's frame around the window; none until it has framed the window.
    QMargins windowFrame() const;
    // The outer corner of the window, frame included.
    QPoint outerPosition() const;
    // Moves the window's outer corner to `outer`, or nearer where a screen shows its title bar.
    void placeOuter(QPoint outer);
    // A window manager frames the window only after it is shown, and until then a move places
    // the client's corner: once the frame is there, the window goes where its frame belongs.
    void placeOnceFramed();

    QObject* control(std::string_view name, int index) const;
    ui::ScrollBar* slider(std::string_view name, int index) const;

    std::shared_ptr<SettingsStore> m_store;
    EndProgram m_endProgram;
    // Where the platform cannot place windows, a save writes back the position it was given.
    bool m_placesWindows;
    float m_givenTop = 0;
    float m_givenLeft = 0;
    std::optional<QPoint> m_wantedOuter; // where the restore put the outer corner
    QTimer* m_framing = nullptr;         // waits for the window manager's frame after the restore
    int m_framingTicks = 0;
    int m_settledTicks = 0;
    QPoint m_placedOuter; // where the last placement put the outer corner
    ChipModel m_model;
    std::array<ChipKind, 2> m_chipKind{}; // as chosen in the context menu
    std::array<std::vector<BoundReadOut>, 2> m_readOuts;
    int BlinkCount1 = 0;
    int BlinkCount2 = 0;

    ui::Canvas* m_canvas = nullptr;
    QHash<QString, QObject*> m_controls;
    std::array<ui::TextBox*, 2> m_Text1{}, m_txtLED{}, m_txtVin{}, m_txtRLo{}, m_txtRHi{};
    std::array<ui::ScrollBar*, 2> m_hsR1{}, m_vsR2{}, m_vsVin{}, m_vsRLo{}, m_vsRHi{};
    // Per chip: chip #1's groups are optRLo, optRHi, optMode, optLED; chip #2's optRLo1,
    // optRHi1, optMode1, optLED2.
    std::array<std::array<ui::OptionButton*, 2>, 2> m_optRLo{}, m_optRHi{}, m_optMode{};
    std::array<std::array<ui::OptionButton*, 5>, 2> m_optLED{};
    ui::CheckBox* m_chkSlave = nullptr;
    ui::Label* m_bug0 = nullptr;
    std::array<ui::Timer*, 2> m_timers{};               // Timer1, Timer2
    std::array<std::array<ui::Shape*, 11>, 2> m_leds{}; // shpLED, shpLED2; 0 is over-range
    QAction* m_mnuExit = nullptr;
    QAction* m_mnuAbout = nullptr;
    QAction* m_mnuHelp = nullptr;
    DesignAssistant* m_assistant = nullptr;
    ResultNews* m_news = nullptr;
    DesignFiles* m_files = nullptr;
};

} // namespace kestrelon
