#include "layouttypes.h"

#include <QRect>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

using namespace kestrelon;
using namespace kestrelon::layout;

namespace {

constexpr QRect kClientArea(0, 0, 8565, 10230);
constexpr int kNearby = 45; // three pixels

std::span<const Control> controls() {
    const Table& t = mainWindowTable();
    return {t.controls, static_cast<std::size_t>(t.controlCount)};
}
std::span<const Line> lines() {
    const Table& t = mainWindowTable();
    return {t.lines, static_cast<std::size_t>(t.lineCount)};
}
std::span<const TabStop> tabOrder() {
    const Table& t = mainWindowTable();
    return {t.tabOrder, static_cast<std::size_t>(t.tabCount)};
}

const Control* find(const char* name, int index) {
    for (const Control& c : controls())
        if (std::strcmp(c.name, name) == 0 && c.index == index)
            return &c;
    return nullptr;
}

QByteArray id(const char* name, int index) {
    return QByteArray(name) + '(' + QByteArray::number(index) + ')';
}
QByteArray id(const Control& c) {
    return id(c.name, c.index);
}

QString text(const char* s) {
    return s == nullptr ? QString() : QString::fromUtf8(s);
}

// Window coordinates of a control; controls in a frame are placed relative to it.
QRect windowRect(const Control& c) {
    QRect r(c.left, c.top, c.width, c.height);
    if (c.parent != nullptr) {
        if (const Control* frame = find(c.parent, c.parentIndex))
            r.translate(frame->left, frame->top);
    }
    return r;
}

bool focusable(Kind kind) {
    return kind == Kind::TextBox || kind == Kind::HScroll || kind == Kind::VScroll ||
           kind == Kind::Option || kind == Kind::Check;
}

bool isChip2(const Control& c) {
    return windowRect(c).bottom() < kChipOffset;
}

// Chip #1's element of a per-chip control and chip #2's twin.
struct Twin {
    const char* name1;
    int index1;
    const char* name2;
    int index2;
    bool sameSize;   // chip #2's size is chip #1's
    bool sameOffset; // chip #2 sits exactly one panel higher (children: same place in the frame)
    bool sameLook;   // caption, colours and tooltip equal
};

std::vector<Twin> twins() {
    std::vector<Twin> t = {
        {"Text1", 0, "Text1", 1, true, true, true},
        {"txtVin", 0, "txtVin", 1, true, true, true},
        {"txtRLo", 0, "txtRLo", 1, true, true, true},
        {"txtRHi", 0, "txtRHi", 1, true, true, true},
        {"txtLED", 0, "txtLED", 1, true, true, true},
        {"hsR1", 0, "hsR1", 1, true, true, true},
        {"vsR2", 0, "vsR2", 1, true, true, true},
        {"vsVin", 0, "vsVin", 1, true, true, true},
        {"vsRLo", 0, "vsRLo", 1, true, true, true},
        {"vsRHi", 0, "vsRHi", 1, true, true, true},
        {"fraRLo", 0, "fraRLo2", -1, true, true, false},
        {"optRLo", 0, "optRLo1", 0, true, true, false},
        {"optRLo", 1, "optRLo1", 1, true, true, false},
        {"fraRHi", 0, "fraRHi2", -1, false, false, false},
        {"optRHi", 0, "optRHi1", 0, true, false, false},
        {"optRHi", 1, "optRHi1", 1, true, false, false},
        {"fraMode", 0, "fraMode", 1, true, true, true},
        {"optMode", 0, "optMode1", 0, true, true, true},
        {"optMode", 1, "optMode1", 1, true, true, true},
        {"fraLED", 0, "fraLED2", -1, false, false, false},
        {"lblmA", 0, "lblmA", 1, true, true, true},
        {"lblR1", 0, "lblR1", 1, true, true, true},
        {"lblR2", 0, "lblR2", 1, true, true, true},
        {"lblVin", 0, "lblVin", 1, true, true, true},
        {"lblRefo", 0, "lblRefo", 1, true, false, true},
        {"lblRLo", 0, "lblRLo", 1, true, false, true},
        {"lblRHi", 0, "lblRHi", 1, true, false, true},
        {"lblRadj", 0, "lblRadj", 1, true, false, true},
        {"lblVmin", 0, "lblVmin", 1, true, true, true},
        {"lblVmax", 0, "lblVmax", 1, true, false, true},
        {"lblGap", 0, "lblGap", 1, true, true, true},
        {"lblRlim", 0, "lblRlim", 1, true, true, true},
        {"lblWatts", 0, "lblWatts", 1, true, true, true},
        {"lblWarn", 0, "lblWarn", 1, true, true, true},
        {"Label9", 0, "Label9", 1, false, false, true},
        {"Label3", 0, "Label3", 1, false, false, false},
        {"lblVp", 0, "lblVp", 1, true, true, true},
        {"lblVled", 0, "lblVled", 1, true, true, true},
        {"lblVlow", 0, "lblVlow", 1, true, true, true},
        {"lblVhi", 0, "lblVhi", 1, true, true, true},
        {"lbl2", 0, "lbl2", 1, true, true, true},
        {"Label1", 0, "Label1", 1, true, true, true},
        {"Label2", 0, "Label2", 1, true, true, true},
        {"Label7", 0, "Label7", 1, true, true, true},
        {"Label8", 0, "Label8", 1, true, true, true},
        {"Label4", 0, "Label4", 1, true, true, true},
        {"Label5", 0, "Label5", 1, true, true, true},
        {"Shape1", 0, "Shape1", 1, true, true, true},
        {"shpLED", 0, "shpLED2", 0, false, false, false},
        {"lblNo", 0, "lblNo", 21, true, true, true},
    };
    for (int i = 0; i < 5; ++i)
        t.push_back({"optLED", i, "optLED2", i, true, false, false});
    for (int led = 1; led <= 10; ++led) {
        // LEDs 2 and 9 of chip #2 sit 30 twips further right.
        const bool moved = led == 2 || led == 9;
        t.push_back({"shpLED", led, "shpLED2", led, true, !moved, true});
        t.push_back({"lblNo", led, "lblNo", 21 - led, true, true, true});
    }
    for (int i = 0; i < 10; ++i)
        t.push_back({"lblNum", i, "lblNum", 19 - i, true, true, true});
    const int pinNames[][2] = {{1, 13}, {2, 12}, {3, 11}, {4, 10}, {5, 9}, {6, 8}, {7, 0}};
    for (const auto& p : pinNames)
        t.push_back({"lblPin", p[0], "lblPin", p[1], true, true, true});
    return t;
}

} // namespace

class TestLayoutTable : public QObject {
    Q_OBJECT

private slots:
    void controlsAreUnique();
    void linesAreUnique();
    void everyControlBelongsToAChip();
    void tabOrderVisitsEveryFocusableControlOnce();
    void framesHoldTheirOptions();
    void optionsInAFrameDoNotOverlap();
    void controlsLieInTheClientArea();
    void linesLieInTheClientArea();
    void chipTwins_data();
    void chipTwins();
    void drawingArraysHaveTheirElements();
    void onlyTheEndPinNumbersAreHidden();
    void pinNumbersAndNamesFitTheBody();
    void ledsConnectToTheBusAndCarryTheirNumbers();
    void lineColoursAndWidths();
    void slidersLieAlongTheirTrack();
    void designSelections();
};

void TestLayoutTable::controlsAreUnique() {
    std::set<std::pair<std::string, int>> seen;
    for (const Control& c : controls()) {
        QVERIFY2(c.name != nullptr && *c.name != '\0', "unnamed control");
        QVERIFY2(seen.emplace(c.name, c.index).second, id(c).constData());
    }
}

void TestLayoutTable::linesAreUnique() {
    std::set<std::pair<std::string, int>> seen;
    for (const Line& l : lines()) {
        QVERIFY2(seen.emplace(l.name, l.index1).second, id(l.name, l.index1).constData());
        QVERIFY2(seen.emplace(l.name, l.index2).second, id(l.name, l.index2).constData());
    }
}

// Each control is either one half of a per-chip pair or one of the three single controls; a
// stray, misnamed or duplicated row shows up here.
void TestLayoutTable::everyControlBelongsToAChip() {
    std::multiset<std::pair<std::string, int>> expected = {
        {"chkSlave", -1}, {"bug0", -1}, {"bug1", -1}};
    for (const Twin& t : twins()) {
        expected.emplace(t.name1, t.index1);
        expected.emplace(t.name2, t.index2);
    }
    std::multiset<std::pair<std::string, int>> actual;
    for (const Control& c : controls())
        actual.emplace(c.name, c.index);

    for (const auto& [name, index] : expected)
        QVERIFY2(actual.count({name, index}) == 1,
                 qPrintable("missing " + id(name.c_str(), index)));
    for (const auto& [name, index] : actual)
        QVERIFY2(expected.count({name, index}) == 1,
                 qPrintable("unexpected " + id(name.c_str(), index)));
}

void TestLayoutTable::tabOrderVisitsEveryFocusableControlOnce() {
    std::set<std::pair<std::string, int>> visited;
    int position = 0;
    bool inChip2 = false;
    for (const TabStop& stop : tabOrder()) {
        const Control* c = find(stop.name, stop.index);
        QVERIFY2(c != nullptr, id(stop.name, stop.index).constData());
        QVERIFY2(focusable(c->kind), id(*c).constData());
        QVERIFY2(c->visible, id(*c).constData());
        QVERIFY2(visited.emplace(stop.name, stop.index).second, id(*c).constData());
        // All of chip #1's stops come before chip #2's.
        if (isChip2(*c))
            inChip2 = true;
        else
            QVERIFY2(!inChip2, qPrintable(QStringLiteral("chip #1 control %1 after chip #2's")
                                              .arg(QString::fromLatin1(id(*c)))));
        ++position;
    }
    const auto focusableCount = std::count_if(controls().begin(), controls().end(),
                                              [](const Control& c) { return focusable(c.kind); });
    QCOMPARE(position, static_cast<int>(focusableCount));
    QCOMPARE(position, 43);
}

void TestLayoutTable::framesHoldTheirOptions() {
    std::set<std::pair<std::string, int>> framesSoFar;
    for (const Control& c : controls()) {
        if (c.kind == Kind::Frame)
            framesSoFar.emplace(c.name, c.index);
        QCOMPARE(c.kind == Kind::Option, c.parent != nullptr);
        if (c.parent == nullptr) {
            QCOMPARE(c.parentIndex, -1);
            continue;
        }
        const Control* frame = find(c.parent, c.parentIndex);
        QVERIFY2(frame != nullptr, id(c).constData());
        QCOMPARE(frame->kind, Kind::Frame);
        // A builder working through the rows in order has the frame before its options.
        QVERIFY2(framesSoFar.count({c.parent, c.parentIndex}) == 1, id(c).constData());
        const QRect inside(0, 0, frame->width, frame->height);
        QVERIFY2(inside.contains(QRect(c.left, c.top, c.width, c.height)), id(c).constData());
    }
}

void TestLayoutTable::optionsInAFrameDoNotOverlap() {
    for (const Control& a : controls()) {
        for (const Control& b : controls()) {
            if (&a == &b || a.parent == nullptr || b.parent == nullptr)
                continue;
            if (std::strcmp(a.parent, b.parent) != 0 || a.parentIndex != b.parentIndex)
                continue;
            QVERIFY2(!windowRect(a).intersects(windowRect(b)),
                     (id(a) + " covers " + id(b)).constData());
        }
    }
}

void TestLayoutTable::controlsLieInTheClientArea() {
    for (const Control& c : controls()) {
        QVERIFY2(c.width > 0 && c.height > 0, id(c).constData());
        QVERIFY2(kClientArea.contains(windowRect(c)), id(c).constData());
    }
}

void TestLayoutTable::linesLieInTheClientArea() {
    for (const Line& l : lines()) {
        for (int shift : {0, kChipOffset}) {
            QVERIFY2(kClientArea.contains(l.x1, l.y1 - shift), id(l.name, l.index1).constData());
            QVERIFY2(kClientArea.contains(l.x2, l.y2 - shift), id(l.name, l.index1).constData());
        }
        QVERIFY2(l.x1 != l.x2 || l.y1 != l.y2, id(l.name, l.index1).constData());
    }
}

void TestLayoutTable::chipTwins_data() {
    QTest::addColumn<QByteArray>("name1");
    QTest::addColumn<int>("index1");
    QTest::addColumn<QByteArray>("name2");
    QTest::addColumn<int>("index2");
    QTest::addColumn<bool>("sameSize");
    QTest::addColumn<bool>("sameOffset");
    QTest::addColumn<bool>("sameLook");
    for (const Twin& t : twins()) {
        QTest::newRow(id(t.name1, t.index1).constData())
            << QByteArray(t.name1) << t.index1 << QByteArray(t.name2) << t.index2 << t.sameSize
            << t.sameOffset << t.sameLook;
    }
}

void TestLayoutTable::chipTwins() {
    QFETCH(QByteArray, name1);
    QFETCH(int, index1);
    QFETCH(QByteArray, name2);
    QFETCH(int, index2);
    QFETCH(bool, sameSize);
    QFETCH(bool, sameOffset);
    QFETCH(bool, sameLook);

    const Control* one = find(name1.constData(), index1);
    const Control* two = find(name2.constData(), index2);
    QVERIFY(one != nullptr);
    QVERIFY(two != nullptr);

    // Chip #1 in the lower half, chip #2 in the upper.
    QVERIFY2(windowRect(*one).top() >= kChipOffset, "chip #1 element not in the lower half");
    QVERIFY2(isChip2(*two), "chip #2 element not in the upper half");

    QCOMPARE(two->kind, one->kind);
    QCOMPARE(two->font.points, one->font.points);
    QCOMPARE(two->font.bold, one->font.bold);
    QCOMPARE(two->align, one->align);
    QCOMPARE(two->boxed, one->boxed);
    QCOMPARE(two->visible, one->visible);
    QCOMPARE(two->min, one->min);
    QCOMPARE(two->max, one->max);
    QCOMPARE(two->parent == nullptr, one->parent == nullptr);
    if (sameSize) {
        QCOMPARE(two->width, one->width);
        QCOMPARE(two->height, one->height);
    }
    if (sameOffset) {
        QCOMPARE(two->left, one->left);
        QCOMPARE(two->top, one->parent == nullptr ? one->top - kChipOffset : one->top);
    }
    if (sameLook) {
        QCOMPARE(text(two->caption), text(one->caption));
        QCOMPARE(two->foreColour, one->foreColour);
        QCOMPARE(two->backColour, one->backColour);
        QCOMPARE(text(two->toolTip), text(one->toolTip));
    }
}

void TestLayoutTable::drawingArraysHaveTheirElements() {
    std::map<std::string, std::set<int>> elements;
    std::map<std::string, std::set<Kind>> kinds;
    for (const Control& c : controls()) {
        elements[c.name].insert(c.index);
        kinds[c.name].insert(c.kind);
    }
    const auto contiguous = [&](const char* name, int last) {
        std::set<int> all;
        for (int i = 0; i <= last; ++i)
            all.insert(i);
        return elements[name] == all;
    };
    QVERIFY(contiguous("shpLED", 10));
    QVERIFY(contiguous("shpLED2", 10));
    QVERIFY(kinds["shpLED"] == std::set<Kind>{Kind::Circle});
    QVERIFY(kinds["shpLED2"] == std::set<Kind>{Kind::Circle});
    QVERIFY(contiguous("Shape1", 1));
    QVERIFY(kinds["Shape1"] == std::set<Kind>{Kind::Rectangle});
    QVERIFY(contiguous("lblPin", 13));
    QVERIFY(contiguous("lblNum", 19));
    QVERIFY(contiguous("lblNo", 21));
    QVERIFY(contiguous("optLED", 4));
    QVERIFY(contiguous("optLED2", 4));

    const auto circles = std::count_if(controls().begin(), controls().end(),
                                       [](const Control& c) { return c.kind == Kind::Circle; });
    QCOMPARE(static_cast<int>(circles), 22);

    std::map<std::string, int> optionsPerFrame;
    for (const Control& c : controls())
        if (c.parent != nullptr)
            ++optionsPerFrame[id(c.parent, c.parentIndex).toStdString()];
    const std::map<std::string, int> expected = {
        {"fraRLo(0)", 2},  {"fraRLo2(-1)", 2}, {"fraRHi(0)", 2}, {"fraRHi2(-1)", 2},
        {"fraMode(0)", 2}, {"fraMode(1)", 2},  {"fraLED(0)", 5}, {"fraLED2(-1)", 5}};
    QVERIFY(optionsPerFrame == expected);
}

void TestLayoutTable::onlyTheEndPinNumbersAreHidden() {
    std::set<std::pair<std::string, int>> hidden;
    for (const Control& c : controls())
        if (!c.visible)
            hidden.emplace(c.name, c.index);
    const std::set<std::pair<std::string, int>> expected = {
        {"lblNum", 0}, {"lblNum", 9}, {"lblNum", 10}, {"lblNum", 19}, {"lblNo", 0}, {"lblNo", 21}};
    QVERIFY(hidden == expected);

    // Pin numbers: chip #1 element i and chip #2 element 19 - i both read pin i + 1.
    for (int i = 0; i < 10; ++i) {
        const Control* number = find("lblNum", i);
        QVERIFY(number != nullptr);
        QCOMPARE(text(number->caption), QString::number(i + 1));
        QCOMPARE(number->foreColour, number->visible ? 0x0000FFu : 0xFFFFFFu);
    }
}

void TestLayoutTable::pinNumbersAndNamesFitTheBody() {
    const Control* body1 = find("Shape1", 0);
    const Control* body2 = find("Shape1", 1);
    QVERIFY(body1 != nullptr && body2 != nullptr);
    const QRect bodies[] = {windowRect(*body1), windowRect(*body2)};
    const auto onABody = [&](const Control& c) {
        return bodies[0].contains(windowRect(c)) || bodies[1].contains(windowRect(c));
    };

    for (const Control& c : controls()) {
        const bool onBody =
            std::strcmp(c.name, "lblPin") == 0 || std::strcmp(c.name, "lblmA") == 0 ||
            std::strcmp(c.name, "lblWatts") == 0 || std::strcmp(c.name, "Label9") == 0 ||
            std::strcmp(c.name, "Label3") == 0;
        if (onBody) {
            QVERIFY2(onABody(c), id(c).constData());
            QCOMPARE(c.backColour, kInactiveCaption);
        }
        // Pin numbers sit beside the body, not on it.
        if (std::strcmp(c.name, "lblNum") == 0) {
            QVERIFY2(!windowRect(c).intersects(bodies[0]) && !windowRect(c).intersects(bodies[1]),
                     id(c).constData());
        }
    }

    // Pin names and numbers were given positions only: their sizes must not make them cover
    // other controls beyond the one-pixel contact the design itself has.
    for (const Control& c : controls()) {
        if (std::strcmp(c.name, "lblPin") != 0 && std::strcmp(c.name, "lblNum") != 0)
            continue;
        for (const Control& other : controls()) {
            if (&other == &c || other.kind == Kind::Rectangle)
                continue;
            const QRect overlap = windowRect(c).intersected(windowRect(other));
            QVERIFY2(overlap.isEmpty() || std::min(overlap.width(), overlap.height()) <= 15,
                     (id(c) + " covers " + id(other)).constData());
        }
    }
}

void TestLayoutTable::ledsConnectToTheBusAndCarryTheirNumbers() {
    const Line* bus = nullptr;
    std::map<int, const Line*> drops; // by chip #1 element
    for (const Line& l : lines()) {
        if (std::strcmp(l.name, "Line10") == 0)
            bus = &l;
        if (std::strcmp(l.name, "Line20") == 0)
            drops[l.index1] = &l;
    }
    QVERIFY(bus != nullptr);
    QCOMPARE(drops.size(), std::size_t{10});

    for (int led = 1; led <= 10; ++led) {
        const Line* drop = drops[led - 1];
        QVERIFY2(drop != nullptr, qPrintable(QStringLiteral("no drop for LED %1").arg(led)));
        QCOMPARE(drop->index2, 19 - drop->index1);
        QCOMPARE(drop->x1, drop->x2);
        QCOMPARE(drop->y1, bus->y1);
        QVERIFY(drop->x1 >= std::min(bus->x1, bus->x2) && drop->x1 <= std::max(bus->x1, bus->x2));

        struct Chip {
            const char* circles;
            int numberIndex;
            int shift;
        };
        for (const Chip& chip : {Chip{"shpLED", led, 0}, Chip{"shpLED2", 21 - led, kChipOffset}}) {
            const Control* circle = find(chip.circles, led);
            const Control* number = find("lblNo", chip.numberIndex);
            QVERIFY(circle != nullptr && number != nullptr);
            const QRect c = windowRect(*circle);
            const QRect n = windowRect(*number);
            // The drop meets the LED and the number stands under it, both centred on the LED
            // to within a few pixels.
            const int centre = circle->left + circle->width / 2;
            QVERIFY2(std::abs(drop->x1 - centre) <= kNearby, id(*circle).constData());
            QCOMPARE(drop->y2 - chip.shift, c.top());
            QCOMPARE(text(number->caption), QString::number(led));
            QVERIFY2(n.top() > c.bottom(), id(*number).constData());
            QVERIFY2(std::abs(number->left + number->width / 2 - centre) <= kNearby,
                     id(*number).constData());
            QCOMPARE(circle->backColour, 0xE0E0E0u);
            QCOMPARE(circle->foreColour, 0x000000u);
        }
    }
    const Control* over1 = find("shpLED", 0);
    const Control* over2 = find("shpLED2", 0);
    QVERIFY(over1 != nullptr && over2 != nullptr);
    QCOMPARE(over1->backColour, 0x808080u);
    QCOMPARE(over1->foreColour, 0x0000C0u);
    QCOMPARE(over2->backColour, 0xC0C0C0u);
    QCOMPARE(over2->foreColour, 0x0040C0u);
}

void TestLayoutTable::lineColoursAndWidths() {
    int wires = 0;
    int supply = 0;
    for (const Line& l : lines()) {
        QCOMPARE(l.width, 2);
        const bool bus = std::strcmp(l.name, "Line10") == 0 || std::strcmp(l.name, "Line20") == 0;
        QCOMPARE(l.colour, bus ? 0x404040u : kWindowText);
        if (bus) {
            ++supply;
        } else {
            ++wires;
            QCOMPARE(l.index1, 0);
            QCOMPARE(l.index2, 1);
        }
    }
    QCOMPARE(wires, 27); // 26 drawn wires and the limiting-resistor wire
    QCOMPARE(supply, 11);
}

void TestLayoutTable::slidersLieAlongTheirTrack() {
    for (const Control& c : controls()) {
        if (c.kind != Kind::HScroll && c.kind != Kind::VScroll)
            continue;
        // A swapped width and height would turn the slider on its side.
        QVERIFY2((c.kind == Kind::VScroll) == (c.height > c.width), id(c).constData());
        QVERIFY2(c.value >= std::min(c.min, c.max) && c.value <= std::max(c.min, c.max),
                 id(c).constData());
    }
}

void TestLayoutTable::designSelections() {
    // Exactly one option per group is selected at design time.
    std::map<std::string, std::vector<QByteArray>> selected;
    for (const Control& c : controls()) {
        if (c.kind == Kind::Option) {
            QVERIFY2(c.value == 0 || c.value == 1, id(c).constData());
            if (c.value == 1)
                selected[id(c.parent, c.parentIndex).toStdString()].push_back(id(c));
        } else if (c.kind != Kind::Check && c.kind != Kind::HScroll && c.kind != Kind::VScroll) {
            QVERIFY2(c.value == 0, id(c).constData());
        }
    }
    QCOMPARE(selected.size(), std::size_t{8});
    for (const auto& [frame, options] : selected)
        QVERIFY2(options.size() == 1, frame.c_str());

    const Control* slave = find("chkSlave", -1);
    QVERIFY(slave != nullptr);
    QCOMPARE(slave->kind, Kind::Check);
    QCOMPARE(slave->value, 0);
}

QTEST_APPLESS_MAIN(TestLayoutTable)

#include "tst_layouttable.moc"
