#include "designassistant.h"

#include "accessibletext.h"
#include "chipcontrols.h"
#include "chiphints.h"
#include "conversions.h"
#include "designreport.h"
#include "designstatus.h"
#include "dlgrange.h"
#include "dlgtarget.h"
#include "figuretext.h"
#include "widgetimage.h"

#include <QAbstractSlider>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>

namespace kestrelon {

namespace {

// The controls that carry a hint, and which of the chip's hints each shows.
struct HintedControl {
    const char* name;
    QString ChipHints::*hint;
};
constexpr HintedControl kHinted[] = {
    {"lblmA", &ChipHints::lblmA},     {"lblRefo", &ChipHints::lblRefo},
    {"lblRLo", &ChipHints::lblRLo},   {"lblRHi", &ChipHints::lblRHi},
    {"lblGap", &ChipHints::lblGap},   {"lblWatts", &ChipHints::lblWatts},
    {"lblWarn", &ChipHints::lblWarn}, {"hsR1", &ChipHints::hsR1},
    {"vsR2", &ChipHints::vsR2},
};

bool isMenuKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Menu ||
           (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

} // namespace

DesignAssistant::DesignAssistant(QWidget* form, Window window)
    : QObject(form), m_window(std::move(window)) {
    m_idle.setSingleShot(true);
    m_idle.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, &DesignAssistant::updatePending);
    // Choosing parts searches whole series: done when the sliders rest, not on every step.
    m_settled.setSingleShot(true);
    m_settled.setInterval(200);
    connect(&m_settled, &QTimer::timeout, this, &DesignAssistant::chooseSettledParts);
    for (int k = 0; k < 2; ++k)
        for (const HintedControl& c : kHinted)
            m_hinted[k].push_back(m_window.control(c.name, k));
    createActions(form);
    watchContextMenus();
    m_status = new DesignStatus(form);
    if (m_window.statusBar) {
        m_window.statusBar->setSizeGripEnabled(false);
        m_window.statusBar->addWidget(m_status, 1);
    }
    connect(m_status, &DesignStatus::ambientChanged, this, [this] {
        recalculated(0);
        recalculated(1);
    });
}

double DesignAssistant::ambient() const {
    return m_status->ambient();
}

void DesignAssistant::setAmbient(double celsius) {
    m_status->setAmbient(celsius);
}

void DesignAssistant::createActions(QWidget* form) {
    const auto action = [form](const char* name, const QString& text) {
        auto* a = new QAction(text, form);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    m_copyDesign = action("mnuCopyDesign", QStringLiteral("Copy design as text"));
    m_saveImage = action("mnuSaveImage", QStringLiteral("Save schematic as image…"));
    connect(m_copyDesign, &QAction::triggered, this, &DesignAssistant::copyDesign);
    connect(m_saveImage, &QAction::triggered, this, &DesignAssistant::saveImage);
    for (int k = 0; k < 2; ++k) {
        m_chooseR1R2[k] = action(k == 0 ? "mnuChooseR1R2_0" : "mnuChooseR1R2_1",
                                 QStringLiteral("Choose R1 and R2 for a target…"));
        connect(m_chooseR1R2[k], &QAction::triggered, this, [this, k] { chooseTarget(k); });
    }
    m_designRange = action("mnuDesignRange", QStringLiteral("Design for a measuring range…"));
    connect(m_designRange, &QAction::triggered, this, &DesignAssistant::designRange);
    m_menu = new QMenu(form);
    m_menu->setObjectName(QStringLiteral("designMenu"));
    for (int k = 0; k < 2; ++k) {
        for (std::size_t i = 0; i < kChipKinds.size(); ++i) {
            const ChipSheet& sheet = chipSheet(kChipKinds[i]);
            const QString name = QLatin1String(kChipControls[k].chipTypeMenu) + QLatin1Char('_') +
                                 QLatin1String(sheet.code);
            QAction* a = action(name.toLatin1().constData(), QLatin1String(sheet.name));
            a->setCheckable(true);
            connect(a, &QAction::triggered, this,
                    [this, k, kind = sheet.kind] { m_window.chooseChipKind(k, kind); });
            m_chipType[k][i] = a;
        }
    }
}

// Every widget of the drawing reports its context-menu requests here; text boxes and sliders
// keep their own menus for the mouse.
void DesignAssistant::watchContextMenus() {
    m_window.client->installEventFilter(this);
    for (QWidget* child : m_window.client->findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool DesignAssistant::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isMenuKey(static_cast<QKeyEvent*>(event))) {
        auto* widget = static_cast<QWidget*>(watched);
        showMenu(0, widget->mapToGlobal(widget->rect().center()), true);
        return true;
    }
    if (event->type() != QEvent::ContextMenu)
        return false;
    auto* request = static_cast<QContextMenuEvent*>(event);
    if (request->reason() == QContextMenuEvent::Keyboard) {
        showMenu(0, request->globalPos(), true);
        return true;
    }
    if (qobject_cast<QLineEdit*>(watched) || qobject_cast<QAbstractSlider*>(watched))
        return false;
    showMenu(chipAt(request->globalPos()), request->globalPos());
    return true;
}

int DesignAssistant::chipAt(QPoint globalPos) const {
    return m_window.client->mapFromGlobal(globalPos).y() < m_window.chip2Below ? 1 : 0;
}

void DesignAssistant::showMenu(int chip, QPoint globalPos, bool byKeyboard) {
    if (m_menu->isVisible())
        return;
    m_menu->clear();
    m_menu->addAction(m_copyDesign);
    m_menu->addAction(m_saveImage);
    m_menu->addSeparator();
    m_menu->addAction(m_chooseR1R2[chip]);
    m_menu->addAction(m_designRange);
    const ChipKind kind = m_window.panel().chip[chip].kind;
    for (std::size_t i = 0; i < kChipKinds.size(); ++i)
        m_chipType[chip][i]->setChecked(kChipKinds[i] == kind);
    // Made on first use: a menu costs more at start-up than its actions.
    if (!m_chipTypeMenu[chip]) {
        m_chipTypeMenu[chip] = new QMenu(QStringLiteral("Chip type"), m_menu);
        m_chipTypeMenu[chip]->menuAction()->setObjectName(
            QLatin1String(kChipControls[chip].chipTypeMenu));
        for (QAction* a : m_chipType[chip])
            m_chipTypeMenu[chip]->addAction(a);
    }
    m_menu->addMenu(m_chipTypeMenu[chip]);
    if (!m_moreActions.isEmpty()) {
        m_menu->addSeparator();
        m_menu->addActions(m_moreActions);
    }
    m_menu->popup(globalPos);
    // Opened from the keyboard, the menu has its first item focused, as menus do.
    if (byKeyboard)
        m_menu->setActiveAction(m_copyDesign);
}

void DesignAssistant::recalculated(int chip) {
    if (!m_hintsEnabled)
        return;
    m_current[chip] = false;
    m_pending[chip] = true;
    if (!m_idle.isActive())
        m_idle.start();
}

void DesignAssistant::updatePending() {
    const PanelInputs panel = m_window.panel();
    for (int k = 0; k < 2; ++k) {
        if (!m_pending[k])
            continue;
        m_pending[k] = false;
        update(k, panel);
    }
}

const ChipDesign& DesignAssistant::design(int chip) {
    if (!m_current[chip])
        update(chip, m_window.panel());
    if (!m_designs[chip].partsChosen)
        chooseParts(m_designs[chip]);
    return m_designs[chip];
}

void DesignAssistant::chooseSettledParts() {
    for (int k = 0; k < 2; ++k) {
        if (!m_designed[k] || m_designs[k].partsChosen)
            continue;
        chooseParts(m_designs[k]);
        if (m_hintsEnabled)
            showHints(k);
    }
}

void DesignAssistant::update(int chip, const PanelInputs& panel) {
    const ChipModel& model = *m_window.model;
    const QString colour = m_window.ledColour(chip);
    ChipDesign& last = m_designs[chip];
    const ChipInputs& signalSource = chip == 1 && panel.slave ? panel.chip[0] : panel.chip[chip];
    // A slaved recalculation redoes both chips, but a move on chip #1 seldom changes chip #2.
    const bool unchanged =
        m_designed[chip] && last.slave == panel.slave && last.inputs == panel.chip[chip] &&
        last.state == model.state[chip] && last.view == model.view[chip] &&
        last.ledColour == colour && last.ledVf == model.ledVf[chip] &&
        last.litColour == model.ledColour[chip] &&
        last.signalFullScale == parse(signalSource.txtVin) && last.ambient == m_status->ambient();
    m_current[chip] = true;
    if (unchanged)
        return;
    last = designChip(model, panel, chip, colour, m_designed[chip] ? &last : nullptr,
                      m_status->ambient(), false);
    m_designed[chip] = true;
    m_settled.start();
    if (m_hintsEnabled)
        showHints(chip);
}

void DesignAssistant::showHints(int chip) {
    const ChipHints hints = chipHints(m_designs[chip]);
    ChipHints& shown = m_shown[chip];
    for (std::size_t i = 0; i < std::size(kHinted); ++i) {
        const QString& text = hints.*kHinted[i].hint;
        QString& now = shown.*kHinted[i].hint;
        if (text == now)
            continue;
        now = text;
        m_hinted[chip][i]->setToolTip(text);
        ui::setAccessibleHint(m_hinted[chip][i], text);
    }
    m_status->showDesign(m_designs[chip]);
}

void DesignAssistant::copyDesign() {
    QGuiApplication::clipboard()->setText(designReport(design(0), design(1)));
}

void DesignAssistant::saveImage() {
    QFileDialog* dialog =
        imageSaveDialog(m_window.client->window(), QStringLiteral("dlgSaveImage"),
                        QStringLiteral("Save schematic as image"), QStringLiteral("kestrelon.png"));
    connect(dialog, &QFileDialog::fileSelected, this, &DesignAssistant::writeImage);
    dialog->open();
}

void DesignAssistant::writeImage(const QString& path) {
    const QString why = saveWidgetImage(m_window.client, path);
    if (why.isEmpty())
        return;
    tellImageNotSaved(m_window.client->window(), QStringLiteral("msgImageNotSaved"),
                      QStringLiteral("The schematic"), path, why);
}

void DesignAssistant::chooseTarget(int chip) {
    if (m_target)
        m_target->close();
    const ChipModel& model = *m_window.model;
    const auto solve = [this, chip](QStringView volts, QStringView milliamps,
                                    TargetModel targetModel) {
        return solveTarget(*m_window.model, m_window.panel(), chip, volts, milliamps, targetModel);
    };
    m_target = new dlgTarget(chip, targetPrefill(model, chip), solve, m_window.client->window());
    m_target->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_target, &dlgTarget::chosen, this,
            [this, chip](int hsR1, int vsR2) { m_window.moveSliders(chip, hsR1, vsR2); });
    m_target->open();
}

void DesignAssistant::designRange() {
    if (m_range)
        m_range->close();
    const ChipModel& model = *m_window.model;
    const PanelInputs panel = m_window.panel();
    const ChipState& s = model.state[0];
    const auto shown = [](double v, const char* pattern) {
        return showable(v) ? Format(v, pattern) : QString();
    };
    RangePrefill prefill;
    prefill.lo = shown(s.Threshold[1], "#0.00");
    prefill.hi = shown(s.Threshold[10], "#0.00");
    prefill.milliamps = shown(s.Iled, "#0.0");
    prefill.vplus = panel.chip[0].Text1;
    prefill.vled = panel.chip[0].txtLED;
    prefill.ledVf = model.ledVf[0];
    prefill.dot = panel.chip[0].optMode[1];
    prefill.twenty = panel.slave;
    prefill.kind = panel.chip[0].kind;
    m_range = new dlgRange(prefill, m_window.client->window());
    m_range->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_range, &dlgRange::chosen, this, [this](const RangeDesign& design) {
        // The chip type first, so that every later input is calculated with its divider.
        for (std::size_t k = 0; k < design.chips.size(); ++k)
            m_window.chooseChipKind(int(k), design.request.kind);
        m_window.edit(rangeWindowEdits(design));
    });
    m_range->open();
}

} // namespace kestrelon
