// Form1's side of the design assistant: what it reads of the window and how it moves the sliders.
#include "controls.h"
#include "designassistant.h"
#include "designfiles.h"
#include "drawing.h"
#include "form1.h"
#include "layouttypes.h"
#include "uimetrics.h"

#include <QStatusBar>

namespace kestrelon {

void Form1::createDesignAssistant() {
    DesignAssistant::Window window;
    window.model = &m_model;
    window.panel = [this] { return panelInputs(); };
    window.ledColour = [this](int chip) {
        for (const ui::OptionButton* option : m_optLED[chip])
            if (option->isChecked())
                return option->text();
        return QString();
    };
    window.control = [this](std::string_view name, int index) {
        return qobject_cast<QWidget*>(control(name, index));
    };
    window.moveSliders = [this](int chip, int hsR1, int vsR2) {
        m_hsR1[chip]->setValue(hsR1);
        m_vsR2[chip]->setValue(vsR2);
    };
    window.edit = [this](const std::vector<WindowEdit>& edits) { applyEdits(edits); };
    window.chooseChipKind = [this](int chip, ChipKind kind) { SetChipType(chip, kind); };
    window.client = m_canvas;
    window.chip2Below = twipsToPixels(layout::kChipOffset);
    window.statusBar = statusBar();
    m_assistant = new DesignAssistant(this, std::move(window));

    DesignFiles::Window files;
    files.form = this;
    files.inputs = this;
    files.restored = [this] { deriveRestored(); };
    files.designs = [this] {
        return std::array<ChipDesign, 2>{m_assistant->design(0), m_assistant->design(1)};
    };
    files.ambient = [this] { return m_assistant->ambient(); };
    files.setAmbient = [this](double celsius) { m_assistant->setAmbient(celsius); };
    m_files = new DesignFiles(std::move(files));
    m_assistant->addMenuActions(m_files->actions());
}

bool Form1::openDesign(const QString& path) {
    return m_files->open(path);
}

void Form1::applyEdits(const std::vector<WindowEdit>& edits) {
    for (const WindowEdit& e : edits) {
        switch (e.kind) {
        case WindowEdit::Kind::Text:
            setText(e.control, e.index, e.text);
            break;
        case WindowEdit::Kind::Slider:
            setSliderValue(e.control, e.index, static_cast<std::int16_t>(e.value));
            break;
        case WindowEdit::Kind::Option:
            setOption(e.control, e.index, e.value != 0);
            break;
        case WindowEdit::Kind::Check:
            m_chkSlave->setValue(e.value);
            break;
        }
    }
}

} // namespace kestrelon
