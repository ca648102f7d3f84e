#include "form1.h"

#include "accessibility.h"
#include "accessibilitynews.h"
#include "chipcontrols.h"
#include "chipreadouts.h"
#include "classicpalette.h"
#include "controls.h"
#include "designassistant.h"
#include "drawing.h"
#include "formbuilder.h"
#include "layouttypes.h"
#include "menubarstyle.h"
#include "platform.h"
#include "settingsstore.h"
#include "uimetrics.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace kestrelon {

namespace {

constexpr int kClientWidth = 8565;
constexpr int kClientHeight = 10230;
constexpr int kTimerInterval = 250;
// What the store calls the chips' kinds among the controls.
constexpr std::string_view kChipTypeControl = "chipType";
// X11 keeps window positions in 16 bits; beyond that a position would wrap around.
constexpr float kMaxPositionPixels = 32767.0f;

int positionPixels(float twips) {
    if (!std::isfinite(twips))
        return 0;
    const float pixels = std::round(twips / kTwipsPerPixel);
    return static_cast<int>(std::clamp(pixels, -kMaxPositionPixels - 1, kMaxPositionPixels));
}

} // namespace

Form1::Form1(std::shared_ptr<SettingsStore> store, EndProgram endProgram,
             std::optional<bool> placesWindows)
    : m_store(std::move(store)), m_endProgram(std::move(endProgram)),
      m_placesWindows(
          placesWindows.value_or(ui::platformPlacesWindows(QGuiApplication::platformName()))) {
    setObjectName(QStringLiteral("Form1"));
    ui::keepClassicColours(this);
    setWindowTitle(QStringLiteral("Kestrelon V3.0"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(designFont(8.25, false));
    createUi();
    createMenus();
    bindControls();
    connectHandlers();
    createDesignAssistant();
}

Form1::~Form1() {
    // Focus moves while the controls are torn down: the news must not read half-destroyed ones.
    if (m_news)
        disconnect(QCoreApplication::instance(), nullptr, m_news, nullptr);
}

void Form1::createUi() {
    m_canvas = new ui::Canvas(this);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    ui::setWidgetColour(m_canvas, QPalette::Window, kMenuBackground);
    m_canvas->setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    buildForm(layout::mainWindowTable(), m_canvas);
    // The chip titles share their row with the reference-limit banner, which overlaps chip #2's
    // title; drawn transparent and on top, the title stays readable over the banner.
    for (auto* title :
         m_canvas->findChildren<ui::Label*>(QRegularExpression(QStringLiteral("^Label3_")))) {
        title->setAutoFillBackground(false);
        title->raise();
    }
    setCentralWidget(m_canvas);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (const ChipControls& names : kChipControls) {
        auto* timer = new ui::Timer(this);
        timer->setObjectName(QString::fromLatin1(names.timer));
        timer->setInterval(kTimerInterval);
        timer->start();
    }
}

void Form1::createMenus() {
    // Alt alone takes the keyboard to the menu bar, whose commands have no access keys.
    auto* style = new ui::MenuBarStyle;
    style->setParent(menuBar());
    menuBar()->setStyle(style);
    // The doubled ampersand shows one literal "&" and gives the command no access key.
    m_mnuExit = menuBar()->addAction(QStringLiteral("Exit&&Save"));
    m_mnuExit->setObjectName(QStringLiteral("mnuExit"));
    m_mnuAbout = menuBar()->addAction(QStringLiteral("About"));
    m_mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    m_mnuHelp = menuBar()->addAction(QStringLiteral("Help"));
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
}

void Form1::bindControls() {
    for (QObject* child : findChildren<QObject*>())
        if (!child->objectName().isEmpty())
            m_controls.insert(child->objectName(), child);

    const auto find = [this](auto& slot, const char* name, int index) {
        using T = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
        slot = qobject_cast<T*>(m_controls.value(layout::controlName(name, index)));
        Q_ASSERT(slot);
    };
    for (int k = 0; k < 2; ++k) {
        find(m_Text1[k], "Text1", k);
        find(m_txtLED[k], "txtLED", k);
        find(m_txtVin[k], "txtVin", k);
        find(m_txtRLo[k], "txtRLo", k);
        find(m_txtRHi[k], "txtRHi", k);
        find(m_hsR1[k], "hsR1", k);
        find(m_vsR2[k], "vsR2", k);
        find(m_vsVin[k], "vsVin", k);
        find(m_vsRLo[k], "vsRLo", k);
        find(m_vsRHi[k], "vsRHi", k);
        const ChipControls& names = kChipControls[k];
        for (int i = 0; i < 2; ++i) {
            find(m_optRLo[k][i], names.optRLo, i);
            find(m_optRHi[k][i], names.optRHi, i);
            find(m_optMode[k][i], names.optMode, i);
        }
        for (int i = 0; i < 5; ++i)
            find(m_optLED[k][i], names.optLED, i);

        find(m_timers[k], names.timer, -1);
        for (int i = 0; i < 11; ++i)
            find(m_leds[k][i], names.shpLED, i);
        for (const ReadOut& row : chipReadOuts()) {
            const int element = row.element == kChipElement ? k : row.element;
            QObject* control = m_controls.value(layout::controlName(row.control[k], element));
            Q_ASSERT(control);
            m_readOuts[k].emplace_back(row, control);
        }
    }
    find(m_chkSlave, "chkSlave", -1);
    find(m_bug0, "bug0", -1);
    m_news = makeAccessible(m_controls, m_model, this);
}

void Form1::connectHandlers() {
    const auto each = [](const auto& controls, auto signal, Form1* self, auto handler) {
        for (auto* c : controls)
            connect(c, signal, self, handler);
    };
    each(m_Text1, &ui::TextBox::Change, this, &Form1::Text1_Change);
    each(m_txtLED, &ui::TextBox::Change, this, &Form1::txtLED_Change);
    each(m_txtVin, &ui::TextBox::Change, this, &Form1::txtVin_Change);
    each(m_txtRLo, &ui::TextBox::Change, this, &Form1::txtRLo_Change);
    each(m_txtRHi, &ui::TextBox::Change, this, &Form1::txtRHi_Change);
    each(m_hsR1, &ui::ScrollBar::Change, this, &Form1::hsR1_Change);
    each(m_hsR1, &ui::ScrollBar::Scroll, this, &Form1::hsR1_Scroll);
    each(m_vsR2, &ui::ScrollBar::Change, this, &Form1::vsR2_Change);
    each(m_vsR2, &ui::ScrollBar::Scroll, this, &Form1::vsR2_Scroll);
    each(m_vsVin, &ui::ScrollBar::Change, this, &Form1::vsVin_Change);
    each(m_vsVin, &ui::ScrollBar::Scroll, this, &Form1::vsVin_Scroll);
    each(m_vsRLo, &ui::ScrollBar::Change, this, &Form1::vsRLo_Change);
    each(m_vsRLo, &ui::ScrollBar::Scroll, this, &Form1::vsRLo_Scroll);
    each(m_vsRHi, &ui::ScrollBar::Change, this, &Form1::vsRHi_Change);
    each(m_vsRHi, &ui::ScrollBar::Scroll, this, &Form1::vsRHi_Scroll);
    each(m_optRLo[0], &ui::OptionButton::Click, this, &Form1::optRLo_Click);
    each(m_optRLo[1], &ui::OptionButton::Click, this, &Form1::optRLo1_Click);
    each(m_optRHi[0], &ui::OptionButton::Click, this, &Form1::optRHi_Click);
    each(m_optRHi[1], &ui::OptionButton::Click, this, &Form1::optRHi1_Click);
    each(m_optMode[0], &ui::OptionButton::Click, this, &Form1::optMode_click);
    each(m_optMode[1], &ui::OptionButton::Click, this, &Form1::optMode1_Click);
    each(m_optLED[0], &ui::OptionButton::Click, this, &Form1::optLED_Click);
    each(m_optLED[1], &ui::OptionButton::Click, this, &Form1::optLED2_Click);
    connect(m_chkSlave, &ui::CheckBox::Click, this, &Form1::chkSlave_Click);
    connect(m_timers[0], &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(m_timers[1], &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(m_mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
    connect(m_mnuAbout, &QAction::triggered, this, &Form1::mnuAbout_Click);
    connect(m_mnuHelp, &QAction::triggered, this, &Form1::mnuHelp_Click);
}

PanelInputs Form1::panelInputs() const {
    PanelInputs in;
    for (int k = 0; k < 2; ++k) {
        ChipInputs& c = in.chip[k];
        c.txtLED = m_txtLED[k]->text();
        c.Text1 = m_Text1[k]->text();
        c.txtVin = m_txtVin[k]->text();
        c.txtRLo = m_txtRLo[k]->text();
        c.txtRHi = m_txtRHi[k]->text();
        c.vsVin = m_vsVin[k]->value();
        c.vsRLo = m_vsRLo[k]->value();
        c.vsRHi = m_vsRHi[k]->value();
        for (int i = 0; i < 2; ++i) {
            c.optRLo[i] = m_optRLo[k][i]->isChecked();
            c.optRHi[i] = m_optRHi[k][i]->isChecked();
            c.optMode[i] = m_optMode[k][i]->isChecked();
        }
        c.kind = m_chipKind[k];
    }
    in.slave = m_chkSlave->value() == 1;
    return in;
}

void Form1::CalcChip1() {
    recalculate(0);
}

void Form1::CalcChip2() {
    recalculate(1);
}

void Form1::recalculate(int chip, const std::function<void()>& first) {
    const PanelInputs in = panelInputs();
    // While slaved, chip #1's run recalculates chip #2 inside it.
    const bool both = chip == 0 && in.slave;
    loadView(chip);
    if (both)
        loadView(1);
    if (first)
        first();
    if (chip == 0)
        m_model.calcChip1(in);
    else
        m_model.calcChip2(in);
    showView(chip);
    showLedThresholds(chip);
    m_assistant->recalculated(chip);
    m_news->recalculated(chip);
    if (both) {
        showView(1);
        showLedThresholds(1);
        m_assistant->recalculated(1);
        m_news->recalculated(1);
    }
}

void Form1::calcChip(qint16 chip) {
    if (chip == 0)
        CalcChip1();
    if (chip == 1)
        CalcChip2();
}

void Form1::loadView(int chip) {
    for (const BoundReadOut& readOut : m_readOuts[chip])
        readOut.load(m_model.view[chip]);
}

void Form1::showView(int chip) {
    for (const BoundReadOut& readOut : m_readOuts[chip])
        readOut.show(m_model.view[chip]);
}

void Form1::showLedThresholds(int chip) {
    for (int i = 1; i <= 10; ++i)
        m_leds[chip][i]->setToolTip(ledThresholdText(m_model.state[chip], m_model.result[chip], i));
}

QObject* Form1::control(std::string_view name, int index) const {
    return m_controls.value(layout::controlName(name, index));
}

QMargins Form1::windowFrame() const {
    return windowHandle() ? windowHandle()->frameMargins() : QMargins();
}

QPoint Form1::outerPosition() const {
    return geometry().topLeft() - QPoint(windowFrame().left(), windowFrame().top());
}

void Form1::placeOuter(QPoint outer) {
    m_wantedOuter = outer;
    if (!m_placesWindows)
        return;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QMargins frame = windowFrame();
    // The client's corner is placed, which every window manager honours alike; where the
    // frame's corner is asked for, some place the client there instead.
    const QPoint at =
        ui::reachablePosition(QRect(outer, size().grownBy(frame)), frame.top(), screens);
    m_placedOuter = at;
    setGeometry(QRect(at + QPoint(frame.left(), frame.top()), size()));
}

void Form1::placeOnceFramed() {
    if (!m_placesWindows || !windowHandle() || !m_wantedOuter)
        return;
    if (!m_framing) {
        m_framing = new QTimer(this);
        connect(m_framing, &QTimer::timeout, this, [this] {
            // Given up after a few seconds: without a window manager no frame ever comes.
            if (!isVisible() || ++m_framingTicks > 60) {
                m_framing->stop();
                return;
            }
            if (windowFrame().isNull())
                return;
            // A window manager may still place the window by its own rules while it takes it
            // over: done once the window has stayed where it belongs for a moment.
            if (outerPosition() != m_placedOuter) {
                placeOuter(*m_wantedOuter);
                m_settledTicks = 0;
            } else if (++m_settledTicks >= 4) {
                m_framing->stop();
            }
        });
    }
    m_framingTicks = 0;
    m_settledTicks = 0;
    m_framing->start(50);
}

float Form1::windowTop() const {
    return m_placesWindows ? static_cast<float>(outerPosition().y() * kTwipsPerPixel) : m_givenTop;
}

float Form1::windowLeft() const {
    return m_placesWindows ? static_cast<float>(outerPosition().x() * kTwipsPerPixel) : m_givenLeft;
}

void Form1::setWindowTop(float twips) {
    m_givenTop = twips;
    placeOuter(QPoint(m_wantedOuter.value_or(outerPosition()).x(), positionPixels(twips)));
}

void Form1::setWindowLeft(float twips) {
    m_givenLeft = twips;
    placeOuter(QPoint(positionPixels(twips), m_wantedOuter.value_or(outerPosition()).y()));
}

QString Form1::text(std::string_view control, int index) const {
    if (control == kChipTypeControl)
        return index == 0 || index == 1 ? QLatin1String(chipSheet(m_chipKind[index]).code)
                                        : QString();
    auto* box = qobject_cast<ui::TextBox*>(this->control(control, index));
    return box ? box->text() : QString();
}

void Form1::setText(std::string_view control, int index, const QString& text) {
    if (control == kChipTypeControl) {
        if (index == 0 || index == 1)
            SetChipType(index, chipKindFromCode(text.toStdString()));
        return;
    }
    if (auto* box = qobject_cast<ui::TextBox*>(this->control(control, index)))
        box->setText(text);
}

ui::ScrollBar* Form1::slider(std::string_view name, int index) const {
    return qobject_cast<ui::ScrollBar*>(control(name, index));
}

std::int16_t Form1::sliderValue(std::string_view control, int index) const {
    const ui::ScrollBar* bar = slider(control, index);
    return bar ? static_cast<std::int16_t>(bar->value()) : 0;
}

std::int16_t Form1::sliderMin(std::string_view control, int index) const {
    const ui::ScrollBar* bar = slider(control, index);
    return bar ? static_cast<std::int16_t>(bar->min()) : 0;
}

std::int16_t Form1::sliderMax(std::string_view control, int index) const {
    const ui::ScrollBar* bar = slider(control, index);
    return bar ? static_cast<std::int16_t>(bar->max()) : 0;
}

void Form1::setSliderValue(std::string_view control, int index, std::int16_t value) {
    ui::ScrollBar* bar = slider(control, index);
    if (bar && bar->inRange(value))
        bar->setValue(value);
}

bool Form1::optionValue(std::string_view control, int index) const {
    auto* option = qobject_cast<ui::OptionButton*>(this->control(control, index));
    return option && option->isChecked();
}

void Form1::setOption(std::string_view control, int index, bool value) {
    if (auto* option = qobject_cast<ui::OptionButton*>(this->control(control, index)))
        option->setValue(value);
}

} // namespace kestrelon
