#pragma once

#include "chipdesign.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QWidget;

namespace kestrelon {

class SettingsTarget;

// Designs as files beside the per-user store: "Save design as…" and "Open design…", and the
// exports a build needs, the parts list (CSV) and a SPICE netlist. While a design file is open
// the window's title names it after the designed caption.
class DesignFiles : public QObject {
    Q_OBJECT

public:
    struct Window {
        QWidget* form = nullptr;
        SettingsTarget* inputs = nullptr;
        std::function<void()> restored; // derives both chips after the inputs were assigned
        std::function<std::array<ChipDesign, 2>()> designs; // as the window stands now
        std::function<double()> ambient;                    // °C the checks assume
        std::function<void(double)> setAmbient;
    };

    // The commands' actions are created owned by the form, their shortcuts active in it.
    explicit DesignFiles(Window window);

    // In the order the context menu lists them.
    QList<QAction*> actions() const;

    // Opens a design into the window; a file that is refused is reported, naming it and why,
    // and nothing in the window changes.
    bool open(const QString& path);

private:
    void chooseOpen();
    void chooseSave();
    void chooseExport(const char* dialogName, const QString& title, const QString& filter,
                      const QString& suffix, bool partsList);
    void save(const QString& path);
    void exportTo(const QString& path, bool partsList);
    void tell(const char* boxName, const QString& text);
    void showTitle();

    Window m_window;
    QString m_caption; // the designed title
    QString m_path;    // the design file open now; empty for the per-user store
    QAction* m_save = nullptr;
    QAction* m_open = nullptr;
    QAction* m_exportBom = nullptr;
    QAction* m_exportNetlist = nullptr;
};

} // namespace kestrelon
