#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

namespace kestrelon {

// The controls whose state the settings keep, as the main window presents them to the settings
// code. Controls are named as designed, with their control-array element: ("txtVin", 0) is
// chip #1's box, ("optRHi1", 1) chip #2's "+Vext Hi" option.
//
// Every setter assigns like a user's edit: the control's change handler (for an option that
// becomes selected, its group's click handler) runs at once, nested in the call. A handler that
// fails may throw; the restore then leaves that control with the value already assigned and goes
// on with the next entry.
class SettingsTarget {
public:
    virtual ~SettingsTarget() = default;

    // The main window's screen position, twips.
    virtual float windowTop() const = 0;
    virtual float windowLeft() const = 0;
    // Moves the window. The value is finite and within the single range but not clamped to the
    // screen: it may be negative or beyond the far edge.
    virtual void setWindowTop(float twips) = 0;
    virtual void setWindowLeft(float twips) = 0;

    virtual QString text(std::string_view control, int index) const = 0;
    virtual void setText(std::string_view control, int index, const QString& text) = 0;

    virtual std::int16_t sliderValue(std::string_view control, int index) const = 0;
    // The slider's two design limits, in either order (the vertical sliders run from 1000 at Min
    // down to 0 at Max).
    virtual std::int16_t sliderMin(std::string_view control, int index) const = 0;
    virtual std::int16_t sliderMax(std::string_view control, int index) const = 0;
    // Only called with a value between the two limits. Assigning the value the slider already
    // holds runs no handler.
    virtual void setSliderValue(std::string_view control, int index, std::int16_t value) = 0;

    virtual bool optionValue(std::string_view control, int index) const = 0;
    // Selecting an option clears the other options of its group.
    virtual void setOption(std::string_view control, int index, bool value) = 0;

protected:
    SettingsTarget() = default;
    SettingsTarget(const SettingsTarget&) = default;
    SettingsTarget& operator=(const SettingsTarget&) = default;
};

} // namespace kestrelon
