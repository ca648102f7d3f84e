#include "layouttypes.h"
#include "resistorsliders.h"

#include <array>
#include <cstdint>
#include <iterator>

namespace kestrelon::layout {
namespace {

struct Box {
    int left, top, width, height;
};

// One control under construction. Each setter returns a modified copy so that a row of the
// table reads as a single expression.
struct Row {
    Control c;

    constexpr Row fore(std::uint32_t colour) const {
        Row r = *this;
        r.c.foreColour = colour;
        return r;
    }
    constexpr Row back(std::uint32_t colour) const {
        Row r = *this;
        r.c.backColour = colour;
        return r;
    }
    constexpr Row font(Font f) const {
        Row r = *this;
        r.c.font = f;
        return r;
    }
    constexpr Row leftAligned() const {
        Row r = *this;
        r.c.align = Align::Left;
        return r;
    }
    constexpr Row boxed() const {
        Row r = *this;
        r.c.boxed = true;
        return r;
    }
    constexpr Row hidden() const {
        Row r = *this;
        r.c.visible = false;
        return r;
    }
    constexpr Row tip(const char* text) const {
        Row r = *this;
        r.c.toolTip = text;
        return r;
    }
    constexpr Row range(int min, int max, int value) const {
        Row r = *this;
        r.c.min = min;
        r.c.max = max;
        r.c.value = value;
        return r;
    }
    constexpr Row selected() const {
        Row r = *this;
        r.c.value = 1;
        return r;
    }
    // Chip #2's element of a per-chip array: chip #1's look at another place, by default with
    // chip #1's size.
    constexpr Row twin(int index, int left, int top) const {
        Row r = *this;
        r.c.index = index;
        r.c.left = left;
        r.c.top = top;
        return r;
    }
    constexpr Row twin(int index, Box box) const {
        Row r = twin(index, box.left, box.top);
        r.c.width = box.width;
        r.c.height = box.height;
        return r;
    }
};

constexpr Row row(Kind kind, const char* name, int index, Box box, const char* caption = nullptr) {
    Control c{};
    c.name = name;
    c.index = index;
    c.kind = kind;
    c.parent = nullptr;
    c.parentIndex = -1;
    c.left = box.left;
    c.top = box.top;
    c.width = box.width;
    c.height = box.height;
    c.caption = caption;
    return Row{c};
}

constexpr Row label(const char* name, int index, Box box, const char* caption) {
    return row(Kind::Label, name, index, box, caption);
}

constexpr Row staticLabel(const char* name, int index, Box box, const char* caption) {
    return row(Kind::StaticLabel, name, index, box, caption);
}

// Option buttons get one size that holds the longest caption ("+Vext Hi") with its indicator,
// with room to spare for a substitute font wider than the design's.
constexpr int kOptionWidth = 945;
constexpr int kOptionHeight = 255;

constexpr Row option(const char* name, int index, const char* frame, int frameIndex, int left,
                     int top, const char* caption) {
    Row r = row(Kind::Option, name, index, {left, top, kOptionWidth, kOptionHeight}, caption)
                .leftAligned();
    r.c.parent = frame;
    r.c.parentIndex = frameIndex;
    return r;
}

constexpr Row frame(const char* name, int index, Box box, const char* caption) {
    return row(Kind::Frame, name, index, box, caption).font(kBold825).leftAligned();
}

// Collects the rows; without a destination it only counts them, so the table can be sized at
// compile time from the same description that fills it.
class Sink {
public:
    constexpr explicit Sink(Control* out = nullptr) : out_(out) {}

    constexpr void add(const Row& r) {
        if (out_ != nullptr)
            out_[count_] = r.c;
        ++count_;
    }
    // A per-chip control whose chip #2 element differs from chip #1's only in its place.
    constexpr void perChip(const Row& chip1, int left2, int top2) {
        add(chip1);
        add(chip1.twin(1, left2, top2));
    }
    constexpr int count() const { return count_; }

private:
    Control* out_;
    int count_ = 0;
};

constexpr const char* kNumerals[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

// --- The drawing: chip bodies, LEDs, pin names and numbers -------------------------------------

constexpr std::uint32_t kLedUnlit = 0xE0E0E0;
constexpr int kLedTop = 5910;
constexpr int kLedLefts1[10] = {2130, 2550, 3000, 3450, 3930, 4410, 4890, 5400, 5910, 6390};
constexpr int kLedLefts2[10] = {2130, 2580, 3000, 3450, 3930, 4410, 4890, 5400, 5940, 6390};
constexpr int kLedNumberLefts[10] = {2160, 2580, 3030, 3480, 3960, 4440, 4920, 5430, 5940, 6390};

struct PinName {
    int index1, index2; // lblPin elements of chip #1 and chip #2
    const char* caption;
    int left, top, width;
};
// Widths fit the caption at regular 9.75 and keep each name on the chip body.
constexpr int kPinNameHeight = 255;
constexpr PinName kPinNames[] = {
    {1, 13, "V+", 6990, 6600, 375},    {2, 12, "RLo", 2370, 7470, 405},
    {3, 11, "Sig", 1860, 6600, 375},   {4, 10, "RHi", 4170, 7470, 405},
    {5, 9, "RefOut", 5160, 7470, 720}, {6, 8, "RefAdj", 6720, 7470, 690},
    {7, 0, "Mode", 6810, 6900, 585},
};

struct PinNumber {
    int pin;
    int left, top;
};
constexpr int kPinNumberHeight = 240;
// The labels of pins 1 and 10 are never shown; they are kept at the body's left and right edges,
// above pins 5 and 3, where they cover nothing should a builder ever show them.
constexpr PinNumber kPinNumbers[] = {
    {1, 1560, 6300}, {2, 2040, 7770}, {3, 7440, 6540}, {4, 2670, 7770}, {5, 1560, 6570},
    {6, 4470, 7770}, {7, 5580, 7770}, {8, 6900, 7770}, {9, 7440, 6870}, {10, 7440, 6285},
};

constexpr void describeDrawing(Sink& out) {
    const Row body =
        row(Kind::Rectangle, "Shape1", 0, {1800, 6480, 5625, 1275}).back(kInactiveCaption);
    out.perChip(body, 1800, 1320);

    // Over-range indicators first: element 0 of each LED array.
    out.add(row(Kind::Circle, "shpLED", 0, {7410, 6000, 345, 195}).fore(0x0000C0).back(kGrey));
    out.add(row(Kind::Circle, "shpLED2", 0, {7440, 840, 315, 195}).fore(0x0040C0).back(0xC0C0C0));
    for (int led = 1; led <= 10; ++led) {
        out.add(row(Kind::Circle, "shpLED", led, {kLedLefts1[led - 1], kLedTop, 345, 315})
                    .fore(kBlack)
                    .back(kLedUnlit));
        out.add(row(Kind::Circle, "shpLED2", led,
                    {kLedLefts2[led - 1], kLedTop - kChipOffset, 345, 315})
                    .fore(kBlack)
                    .back(kLedUnlit));
    }

    for (const PinNumber& p : kPinNumbers) {
        const bool endPin = p.pin == 1 || p.pin == 10;
        const int width = p.pin == 10 ? 255 : 195; // two digits
        Row number = staticLabel("lblNum", p.pin - 1, {p.left, p.top, width, kPinNumberHeight},
                                 kNumerals[p.pin])
                         .fore(kRed)
                         .back(kMenuBackground)
                         .font(kRegular975);
        if (endPin)
            number = number.fore(kWhite).hidden();
        out.add(number);
        out.add(number.twin(20 - p.pin, p.left, p.top - kChipOffset));
    }

    // LED numbers: chip #1 lblNo(1..10), chip #2 lblNo(20..11); the "1" beside each over-range
    // indicator is hidden.
    out.add(staticLabel("lblNo", 0, {7860, 6060, 285, 195}, "1").hidden());
    out.add(staticLabel("lblNo", 21, {7860, 900, 285, 195}, "1").hidden());
    for (int led = 1; led <= 10; ++led) {
        const Row number =
            staticLabel("lblNo", led, {kLedNumberLefts[led - 1], 6270, 285, 195}, kNumerals[led]);
        out.add(number);
        out.add(number.twin(21 - led, kLedNumberLefts[led - 1], 1110));
    }
}

// Pin names sit on the chip body; chip #2's are numbered apart from chip #1's.
constexpr void describePinNames(Sink& out) {
    for (const PinName& p : kPinNames) {
        const Row name =
            staticLabel("lblPin", p.index1, {p.left, p.top, p.width, kPinNameHeight}, p.caption)
                .back(kInactiveCaption)
                .font(kRegular975);
        out.add(name);
        out.add(name.twin(p.index2, p.left, p.top - kChipOffset));
    }
}

// --- Labels ------------------------------------------------------------------------------------

constexpr void describeStaticLabels(Sink& out) {
    out.add(label("Label3", 0, {2610, 6900, 1665, 255}, "1st LM3914")
                .back(kInactiveCaption)
                .font(kBold12));
    out.add(label("Label3", 1, {2580, 1740, 1845, 255}, "2nd LM3914")
                .back(kInactiveCaption)
                .font(kBold12));
    out.perChip(staticLabel("lblVp", 0, {7800, 6330, 405, 195}, "V+").font(kBold825), 7800, 1170);
    out.perChip(staticLabel("lblVled", 0, {180, 5340, 555, 225}, "Vled")
                    .fore(kBlack)
                    .font(kBold825)
                    .tip("Actual Vinp"),
                180, 180);
    out.perChip(staticLabel("lblVlow", 0, {1800, 9060, 495, 405}, "Vext Low").font(kBold825), 1800,
                3900);
    out.perChip(staticLabel("lblVhi", 0, {3750, 9090, 495, 375}, "Vext Hi").font(kBold825), 3750,
                3930);
    out.perChip(staticLabel("lbl2", 0, {7170, 5730, 885, 225}, "Vin > Vmax").fore(kBlack), 7170,
                570);
    out.perChip(staticLabel("Label1", 0, {6180, 8400, 345, 225}, "R1").tip("Set LED current"), 6180,
                3240);
    out.perChip(staticLabel("Label2", 0, {7440, 9060, 285, 225}, "R2").tip("Set Span"), 7440, 3900);
    out.perChip(staticLabel("Label7", 0, {4620, 9840, 285, 225}, "R3").tip("Set Span"), 4620, 4680);
    out.perChip(staticLabel("Label8", 0, {2670, 9840, 285, 225}, "R4").tip("Set Span"), 2670, 4680);
    out.perChip(staticLabel("Label4", 0, {1560, 7830, 285, 165}, "0V"), 1560, 2670);
    out.perChip(staticLabel("Label5", 0, {7350, 9840, 255, 195}, "0V"), 7350, 4680);

    out.add(label("bug0", -1, {4950, 9330, 1185, 435}, nullptr));
    out.add(label("bug1", -1, {5160, 4560, 1545, 465}, nullptr));
}

constexpr void describeReadOuts(Sink& out) {
    out.perChip(label("lblmA", 0, {2310, 6600, 1785, 195}, "ii.dmA")
                    .back(kInactiveCaption)
                    .fore(kWindowBackground)
                    .font(kBold825),
                2310, 1440);
    out.perChip(
        label("lblR1", 0, {6090, 7860, 585, 195}, "R1").font(kBold825).tip("Set LED current"), 6090,
        2700);
    out.perChip(label("lblR2", 0, {6450, 9060, 645, 255}, "R2").font(kBold825).tip("Set Span"),
                6450, 3900);
    out.perChip(label("lblVin", 0, {570, 6780, 555, 225}, "Vsig")
                    .fore(kBlack)
                    .font(kBold825)
                    .tip("Actual Vinp"),
                570, 1620);
    out.perChip(label("lblRefo", 0, {5070, 7230, 825, 255}, "Vref")
                    .boxed()
                    .back(0xFFFF80)
                    .fore(kWindowText)
                    .font(kBold975),
                5070, 2040);
    out.perChip(label("lblRLo", 0, {2280, 7230, 675, 255}, "RLo")
                    .boxed()
                    .back(0x80FF80)
                    .fore(kWindowText)
                    .font(kBold825),
                2280, 2040);
    out.perChip(label("lblRHi", 0, {4020, 7230, 765, 255}, "RHi")
                    .boxed()
                    .back(0x8080FF)
                    .fore(kWindowText)
                    .font(kBold825),
                4020, 2040);
    out.perChip(label("lblRadj", 0, {6660, 7230, 735, 255}, "Vadj")
                    .boxed()
                    .back(0x80FFFF)
                    .fore(kWindowText)
                    .font(kBold825),
                6660, 2040);
    out.perChip(label("lblVmin", 0, {1560, 6090, 525, 195}, "0v").fore(kWindowText), 1560, 930);
    out.perChip(label("lblVmax", 0, {6780, 6090, 525, 195}, "Vhi").fore(kWindowText), 6720, 870);
    out.perChip(label("lblGap", 0, {3540, 5460, 1455, 195}, "interval").fore(kBlue).font(kBold825),
                3540, 300);
    out.perChip(label("lblRlim", 0, {870, 5610, 1185, 255}, "R5")
                    .boxed()
                    .back(0xE0E0E0)
                    .fore(kWindowText)
                    .tip("Minimum Resistor Value"),
                870, 450);
    out.perChip(label("lblWatts", 0, {4230, 6600, 2175, 225}, "Watts")
                    .leftAligned()
                    .back(kInactiveCaption)
                    .fore(kBlue)
                    .font(kBold825),
                4230, 1440);
    out.perChip(label("lblWarn", 0, {810, 5340, 2025, 225}, "Rlim for LM3914 = 1Wmax")
                    .leftAligned()
                    .fore(kNavy),
                810, 180);
    const Row label9 = label("Label9", 0, {4230, 6960, 1785, 165}, "")
                           .back(kInactiveCaption)
                           .fore(kWhite)
                           .tip("Set LED current");
    out.add(label9);
    out.add(label9.twin(1, {4110, 1740, 1785, 195}));
}

// --- Option groups -----------------------------------------------------------------------------

constexpr void describeOptionGroups(Sink& out) {
    // RLo: chip #1's group sits on the window's menu colour like its LED group.
    out.add(frame("fraRLo", 0, {2370, 8040, 1125, 855}, "RLo")
                .fore(0x00C000)
                .back(kMenuBackground)
                .tip("Connect RLo pin to:"));
    out.add(option("optRLo", 0, "fraRLo", 0, 90, 240, "0V")
                .fore(kBlack)
                .back(kMenuBackground)
                .selected());
    out.add(
        option("optRLo", 1, "fraRLo", 0, 90, 540, "Vext Lo").fore(kBlack).back(kMenuBackground));
    out.add(frame("fraRLo2", -1, {2370, 2880, 1125, 855}, "RLo").fore(0x008000));
    out.add(option("optRLo1", 0, "fraRLo2", -1, 90, 240, "0V").selected());
    out.add(option("optRLo1", 1, "fraRLo2", -1, 90, 540, "Vext Lo"));

    out.add(
        frame("fraRHi", 0, {4200, 8040, 1125, 885}, "RHi").fore(kRed).tip("Connect RHi pin to:"));
    out.add(option("optRHi", 0, "fraRHi", 0, 90, 270, "Ref Inp").fore(kNavy).selected());
    out.add(option("optRHi", 1, "fraRHi", 0, 90, 570, "+Vext Hi").fore(kNavy));
    out.add(frame("fraRHi2", -1, {4170, 2910, 1125, 855}, "RHi").fore(kRed));
    out.add(option("optRHi1", 0, "fraRHi2", -1, 90, 240, "Ref Inp").selected());
    out.add(option("optRHi1", 1, "fraRHi2", -1, 90, 540, "+Vext Hi"));

    // The two chips start in different modes.
    const Row mode =
        frame("fraMode", 0, {7440, 7140, 1035, 885}, "Mode").fore(kBlue).tip("LED Bar or Dot");
    out.add(mode);
    out.add(option("optMode", 0, "fraMode", 0, 60, 270, "Bar/+V"));
    out.add(option("optMode", 1, "fraMode", 0, 60, 570, "Dot/o.c").selected());
    out.add(mode.twin(1, 7440, 1980));
    out.add(option("optMode1", 0, "fraMode", 1, 60, 270, "Bar/+V").selected());
    out.add(option("optMode1", 1, "fraMode", 1, 60, 570, "Dot/o.c"));

    // Chip #1's colours carry the forward voltage each stands for as a hover hint.
    struct Colour {
        const char* caption;
        const char* forwardVoltage;
        int top1, top2;
    };
    constexpr Colour colours[] = {{"Red", "2Vdp", 270, 270},
                                  {"Green", "3Vdp", 570, 570},
                                  {"Yellow", "2.1V", 870, 870},
                                  {"Blue", "3Vdp", 1170, 1200},
                                  {"White", "3.5Vdp", 1470, 1530}};
    out.add(frame("fraLED", 0, {420, 8160, 1215, 1815}, "LED Colour")
                .fore(kBlue)
                .back(kMenuBackground));
    for (int i = 0; i < 5; ++i) {
        Row r = option("optLED", i, "fraLED", 0, 90, colours[i].top1, colours[i].caption)
                    .back(kMenuBackground)
                    .tip(colours[i].forwardVoltage);
        out.add(i == 0 ? r.selected() : r);
    }
    out.add(frame("fraLED2", -1, {420, 2940, 1215, 1905}, "LED Colour").fore(kBlue));
    for (int i = 0; i < 5; ++i) {
        Row r = option("optLED2", i, "fraLED2", -1, 120, colours[i].top2, colours[i].caption);
        out.add(i == 0 ? r.selected() : r);
    }
}

// --- Inputs --------------------------------------------------------------------------------------

constexpr Row textBox(const char* name, Box box, const char* text, std::uint32_t back,
                      const char* tip) {
    return row(Kind::TextBox, name, 0, box, text).back(back).font(kBold825).tip(tip);
}

constexpr void describeInputs(Sink& out) {
    out.perChip(
        textBox("Text1", {7740, 6540, 525, 285}, "15", 0x0000FF, "Enter Supply Voltage 25Vmax"),
        7740, 1380);
    out.perChip(textBox("txtVin", {540, 7050, 585, 285}, "5", 0xFFFFC0, "Enter Vin max"), 540,
                1890);
    out.perChip(textBox("txtRLo", {1770, 9510, 525, 300}, "1", 0xC0FFC0, "Enter Vlow"), 1770, 4350);
    out.perChip(textBox("txtRHi", {3720, 9510, 525, 300}, "5", 0x80C0FF, "Enter Vhigh"), 3720,
                4350);
    out.perChip(textBox("txtLED", {150, 5580, 585, 285}, "15", 0x80C0FF, "Enter Vin, 25Vmax"), 150,
                420);

    // Vertical sliders have Min at the top: moving the thumb up raises the value.
    out.perChip(row(Kind::HScroll, "hsR1", 0, {5730, 8100, 1275, 255})
                    .range(kR1Slider.low, kR1Slider.high, 700),
                5730, 2940);
    out.perChip(row(Kind::VScroll, "vsR2", 0, {7080, 8640, 285, 1155})
                    .range(kR2Slider.high, kR2Slider.low, 220),
                7080, 3480);
    out.perChip(row(Kind::VScroll, "vsVin", 0, {1170, 6570, 285, 1185}).range(1000, 0, 500), 1170,
                1410);
    out.perChip(row(Kind::VScroll, "vsRLo", 0, {2340, 9000, 285, 1095}).range(1000, 0, 500), 2340,
                3840);
    out.perChip(row(Kind::VScroll, "vsRHi", 0, {4290, 9000, 285, 1065}).range(1000, 0, 500), 4290,
                3840);

    out.add(row(Kind::Check, "chkSlave", -1, {330, 1110, 825, 435}, "Slave to #1")
                .fore(0x0040C0)
                .font(kBold825)
                .leftAligned());
}

// Rows in creation order: later rows stack above earlier ones, so the labels on the chip body
// come after the body, and each frame comes before its options.
constexpr void describeControls(Sink& out) {
    describeDrawing(out);
    describePinNames(out);
    describeStaticLabels(out);
    describeReadOuts(out);
    describeOptionGroups(out);
    describeInputs(out);
}

constexpr int kControlCount = [] {
    Sink counter;
    describeControls(counter);
    return counter.count();
}();

constexpr std::array<Control, kControlCount> kControls = [] {
    std::array<Control, kControlCount> controls{};
    Sink sink(controls.data());
    describeControls(sink);
    return controls;
}();

// --- Lines ---------------------------------------------------------------------------------------

constexpr std::uint32_t kBusGrey = 0x404040;

constexpr Line kLines[] = {
    // Wires.
    {"Line1", 0, 1, 5520, 7740, 5520, 8220},
    {"Line2", 0, 1, 7230, 7740, 7230, 8640},
    {"Line3", 0, 1, 7230, 9780, 7230, 9900},
    {"Line4", 0, 1, 7140, 9930, 7320, 9930},
    {"Line5", 0, 1, 5520, 8220, 5670, 8220},
    {"Line6", 0, 1, 7020, 8220, 7230, 8220},
    {"Line7", 0, 1, 2610, 7740, 2610, 8010},
    {"Line8", 0, 1, 4410, 7740, 4410, 8040},
    {"Line9", 0, 1, 1410, 6840, 1800, 6840},
    {"Line11", 0, 1, 1950, 7740, 1950, 7950},
    {"Line12", 0, 1, 1830, 7950, 2010, 7950},
    {"Line13", 0, 1, 5280, 8400, 5520, 8400},
    {"Line31", 0, 1, 870, 5730, 690, 5730},
    {"Line14", 0, 1, 7410, 6810, 7740, 6810},
    {"Line18", 0, 1, 2280, 8730, 2070, 8730},
    {"Line19", 0, 1, 2070, 8730, 2070, 9060},
    {"Line21", 0, 1, 4230, 8730, 4020, 8730},
    {"Line22", 0, 1, 4020, 8730, 4020, 9060},
    {"Line23", 0, 1, 7410, 7110, 7740, 7110},
    {"Line24", 0, 1, 5520, 8040, 5520, 8400},
    {"Line25", 0, 1, 5340, 8370, 5430, 8310},
    {"Line26", 0, 1, 5340, 8400, 5430, 8460},
    {"Line27", 0, 1, 4185, 8715, 4080, 8640},
    {"Line28", 0, 1, 4185, 8730, 4080, 8805},
    {"Line29", 0, 1, 2295, 8715, 2190, 8640},
    {"Line30", 0, 1, 2295, 8730, 2190, 8805},
    // LED supply: the wire through the limiting resistor, the bus, and one drop per LED
    // (chip #2's copy of chip #1's drop i is element 19 - i).
    {"lineRlim", 0, 1, 870, 5730, 2040, 5730},
    {"Line10", 0, 1, 2010, 5730, 6570, 5730, kBusGrey},
    {"Line20", 0, 19, 2310, 5730, 2310, kLedTop, kBusGrey},
    {"Line20", 1, 18, 2730, 5730, 2730, kLedTop, kBusGrey},
    {"Line20", 2, 17, 3180, 5730, 3180, kLedTop, kBusGrey},
    {"Line20", 3, 16, 3630, 5730, 3630, kLedTop, kBusGrey},
    {"Line20", 4, 15, 4110, 5730, 4110, kLedTop, kBusGrey},
    {"Line20", 5, 14, 4590, 5730, 4590, kLedTop, kBusGrey},
    {"Line20", 6, 13, 5070, 5730, 5070, kLedTop, kBusGrey},
    {"Line20", 7, 12, 5580, 5730, 5580, kLedTop, kBusGrey},
    {"Line20", 8, 11, 6090, 5730, 6090, kLedTop, kBusGrey},
    {"Line20", 9, 10, 6570, 5730, 6570, kLedTop, kBusGrey},
};

// --- Tab order -----------------------------------------------------------------------------------

constexpr TabStop kTabOrder[] = {
    // Chip #1.
    {"Text1", 0},
    {"vsR2", 0},
    {"vsVin", 0},
    {"txtVin", 0},
    {"vsRHi", 0},
    {"txtRLo", 0},
    {"txtRHi", 0},
    {"hsR1", 0},
    {"optRLo", 0},
    {"optRLo", 1},
    {"optRHi", 0},
    {"optRHi", 1},
    {"optMode", 0},
    {"optMode", 1},
    {"vsRLo", 0},
    {"optLED", 0},
    {"optLED", 1},
    {"optLED", 2},
    {"optLED", 3},
    {"optLED", 4},
    {"txtLED", 0},
    // Chip #2.
    {"txtLED", 1},
    {"vsRLo", 1},
    {"hsR1", 1},
    {"txtRHi", 1},
    {"txtRLo", 1},
    {"vsRHi", 1},
    {"txtVin", 1},
    {"vsVin", 1},
    {"vsR2", 1},
    {"Text1", 1},
    {"optLED2", 0},
    {"optLED2", 1},
    {"optLED2", 2},
    {"optLED2", 3},
    {"optLED2", 4},
    {"optMode1", 0},
    {"optMode1", 1},
    {"optRHi1", 0},
    {"optRHi1", 1},
    {"optRLo1", 0},
    {"optRLo1", 1},
    {"chkSlave", -1},
};

} // namespace

const Table& mainWindowTable() {
    static const Table table{kControls.data(), kControlCount,
                             kLines,           static_cast<int>(std::size(kLines)),
                             kTabOrder,        static_cast<int>(std::size(kTabOrder))};
    return table;
}

} // namespace kestrelon::layout
