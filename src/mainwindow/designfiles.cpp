#include "designfiles.h"

#include "designfile.h"
#include "partslist.h"
#include "spicenetlist.h"
#include "storeddesign.h"
#include "version.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

namespace kestrelon {

namespace {

QString designFilter() {
    return QStringLiteral("Kestrelon design (*.%1)").arg(QLatin1StringView(kDesignSuffix));
}

QFileDialog* fileDialog(QWidget* parent, const char* name, const QString& title,
                        QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(QLatin1StringView(name));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(mode);
    return dialog;
}

} // namespace

DesignFiles::DesignFiles(Window window)
    : QObject(window.form), m_window(std::move(window)), m_caption(m_window.form->windowTitle()) {
    QWidget* form = m_window.form;
    const auto action = [form](const char* name, const QString& text, QKeySequence keys = {}) {
        auto* a = new QAction(text, form);
        a->setObjectName(QLatin1StringView(name));
        a->setShortcut(keys);
        form->addAction(a);
        return a;
    };
    m_save = action("mnuSaveDesign", QStringLiteral("Save design as…"), QKeySequence::Save);
    m_open = action("mnuOpenDesign", QStringLiteral("Open design…"), QKeySequence::Open);
    m_exportBom = action("mnuExportBom", QStringLiteral("Export parts list…"));
    m_exportNetlist = action("mnuExportNetlist", QStringLiteral("Export SPICE netlist…"));
    connect(m_save, &QAction::triggered, this, &DesignFiles::chooseSave);
    connect(m_open, &QAction::triggered, this, &DesignFiles::chooseOpen);
    connect(m_exportBom, &QAction::triggered, this, [this] {
        chooseExport("dlgExportBom", QStringLiteral("Export parts list"),
                     QStringLiteral("CSV file (*.csv)"), QStringLiteral("csv"), true);
    });
    connect(m_exportNetlist, &QAction::triggered, this, [this] {
        chooseExport("dlgExportNetlist", QStringLiteral("Export SPICE netlist"),
                     QStringLiteral("SPICE netlist (*.cir)"), QStringLiteral("cir"), false);
    });
}

QList<QAction*> DesignFiles::actions() const {
    return {m_save, m_open, m_exportBom, m_exportNetlist};
}

bool DesignFiles::open(const QString& path) {
    const OpenedDesign opened = openDesignFile(path);
    if (!opened.store) {
        tell("msgDesignNotOpened", opened.message(path));
        return false;
    }
    restoreDesign(*opened.store, *m_window.inputs);
    m_window.setAmbient(designAmbient(*opened.store));
    m_window.restored();
    m_path = path;
    showTitle();
    return true;
}

void DesignFiles::chooseOpen() {
    QFileDialog* dialog = fileDialog(m_window.form, "dlgOpenDesign", QStringLiteral("Open design"),
                                     QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters({designFilter(), QStringLiteral("All files (*)")});
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) { open(path); });
    dialog->open();
}

void DesignFiles::chooseSave() {
    QFileDialog* dialog = fileDialog(m_window.form, "dlgSaveDesign",
                                     QStringLiteral("Save design as"), QFileDialog::AcceptSave);
    dialog->setNameFilter(designFilter());
    dialog->setDefaultSuffix(QLatin1StringView(kDesignSuffix));
    dialog->selectFile(m_path.isEmpty()
                           ? QStringLiteral("design.%1").arg(QLatin1StringView(kDesignSuffix))
                           : m_path);
    connect(dialog, &QFileDialog::fileSelected, this, &DesignFiles::save);
    dialog->open();
}

void DesignFiles::chooseExport(const char* dialogName, const QString& title, const QString& filter,
                               const QString& suffix, bool partsList) {
    QFileDialog* dialog = fileDialog(m_window.form, dialogName, title, QFileDialog::AcceptSave);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    const QString base =
        m_path.isEmpty() ? QStringLiteral("design") : QFileInfo(m_path).completeBaseName();
    dialog->selectFile(base + QLatin1Char('.') + suffix);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this, partsList](const QString& path) { exportTo(path, partsList); });
    dialog->open();
}

void DesignFiles::save(const QString& path) {
    const SaveResult result = saveDesignFile(path, *m_window.inputs, m_window.ambient());
    if (!result) {
        tell("msgDesignNotSaved", result.message());
        return;
    }
    m_path = path;
    showTitle();
}

void DesignFiles::exportTo(const QString& path, bool partsList) {
    const std::array<ChipDesign, 2> designs = m_window.designs();
    const QString text = partsList ? partsListCsv(kestrelon::partsList(designs[0], designs[1]))
                                   : spiceNetlist(designs[0], designs[1]);
    const QByteArray bytes = text.toUtf8();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return;
    tell("msgExportNotSaved", QStringLiteral("%1 was not written: %2.")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void DesignFiles::tell(const char* boxName, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QLatin1StringView(kAppTitle), text,
                                QMessageBox::Ok, m_window.form);
    box->setObjectName(QLatin1StringView(boxName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void DesignFiles::showTitle() {
    m_window.form->setWindowTitle(m_path.isEmpty() ? m_caption
                                                   : m_caption + QStringLiteral(" - ") +
                                                         QFileInfo(m_path).fileName());
}

} // namespace kestrelon
