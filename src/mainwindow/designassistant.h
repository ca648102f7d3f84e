#pragma once

#include "chipdesign.h"
#include "chiphints.h"
#include "rangetext.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QStatusBar;
class QWidget;

namespace kestrelon {

class DesignStatus;
class dlgRange;
class dlgTarget;

// The design assistant beside the main window: live hints on the read-outs and the R1 and R2
// sliders, and the context menu's commands (copy the design as text, save the schematic as an
// image, choose R1 and R2 for a target). It reads the window through the callbacks it is given
// and changes it only as a user does, by moving the sliders.
class DesignAssistant : public QObject {
    Q_OBJECT

public:
    struct Window {
        const ChipModel* model = nullptr;
        std::function<PanelInputs()> panel;
        std::function<QString(int chip)> ledColour; // caption of the selected colour option
        std::function<QWidget*(std::string_view name, int index)> control;
        std::function<void(int chip, int hsR1, int vsR2)> moveSliders; // as a user's move
        std::function<void(const std::vector<WindowEdit>&)> edit;      // as a user's edits
        std::function<void(int chip, ChipKind kind)> chooseChipKind;
        QWidget* client = nullptr; // the drawing
        int chip2Below = 0;        // pixels from the drawing's top to where chip #1's half begins
        QStatusBar* statusBar = nullptr; // gets a line per chip's checks and the ambient
    };

    // The commands' actions are created owned by form.
    DesignAssistant(QWidget* form, Window window);

    // A chip was recalculated: its hints are brought up to date once the events pending now
    // are handled, so a burst of slider events costs one update.
    void recalculated(int chip);
    // The chip's design as the window stands now.
    const ChipDesign& design(int chip);

    // Commands listed in the context menu after the assistant's own.
    void addMenuActions(const QList<QAction*>& actions) { m_moreActions += actions; }

    // The ambient temperature (°C) the checks assume; the window keeps it between runs.
    double ambient() const;
    void setAmbient(double celsius);

    // Only for measuring what the hints cost: without them a recalculation leaves them be.
    void setHintsEnabled(bool enabled) { m_hintsEnabled = enabled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions(QWidget* form);
    void watchContextMenus();
    void updatePending();
    void chooseSettledParts();
    void update(int chip, const PanelInputs& panel);
    void showHints(int chip);
    void showMenu(int chip, QPoint globalPos, bool byKeyboard = false);
    int chipAt(QPoint globalPos) const;

    void copyDesign();
    void saveImage();
    void writeImage(const QString& path);
    void chooseTarget(int chip);
    void designRange();

    Window m_window;
    std::array<std::vector<QWidget*>, 2> m_hinted; // in the order of kHinted
    std::array<ChipDesign, 2> m_designs;
    std::array<ChipHints, 2> m_shown; // the hints the controls carry now
    std::array<bool, 2> m_designed{}; // m_designs[k] has been worked out once
    std::array<bool, 2> m_current{};  // m_designs[k] is up to date
    std::array<bool, 2> m_pending{};  // recalculated since the hints were shown
    bool m_hintsEnabled = true;
    QTimer m_idle;
    QTimer m_settled; // the parts are chosen once a drag rests

    QAction* m_copyDesign = nullptr;
    QAction* m_saveImage = nullptr;
    std::array<QAction*, 2> m_chooseR1R2{};
    QAction* m_designRange = nullptr;
    std::array<std::array<QAction*, kChipKinds.size()>, 2> m_chipType{};
    std::array<QMenu*, 2> m_chipTypeMenu{};
    QList<QAction*> m_moreActions;
    QMenu* m_menu = nullptr;
    QPointer<dlgTarget> m_target;
    DesignStatus* m_status = nullptr;
    QPointer<dlgRange> m_range;
};

} // namespace kestrelon
