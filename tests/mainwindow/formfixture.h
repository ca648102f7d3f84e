#pragma once

#include "controls.h"
#include "drawing.h"
#include "form1.h"
#include "layouttypes.h"
#include "settingsstore.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// A started main window on a store in a private temporary folder. Ending the program only
// records the exit code, so the test's event loop goes on.
struct FormFixture {
    QTemporaryDir dir;
    std::shared_ptr<kestrelon::SettingsStore> store;
    std::unique_ptr<kestrelon::Form1> form;
    std::optional<int> exitCode; // set when the window ended the program

    explicit FormFixture(const QByteArray& storeContent = {}) {
        const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
        if (!storeContent.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(storeContent);
        }
        store = std::make_shared<kestrelon::SettingsStore>(path);
        form = std::make_unique<kestrelon::Form1>(store, [this](int code) { exitCode = code; });
        form->Form_Load();
    }

    template <typename T = QObject> T* get(const QString& name) const {
        auto* object = form->findChild<T*>(name);
        if (!object)
            qFatal("no control %s", qPrintable(name));
        return object;
    }
    kestrelon::ui::Label* label(const QString& name) const {
        return get<kestrelon::ui::Label>(name);
    }
    kestrelon::ui::TextBox* box(const QString& name) const {
        return get<kestrelon::ui::TextBox>(name);
    }
    kestrelon::ui::ScrollBar* bar(const QString& name) const {
        return get<kestrelon::ui::ScrollBar>(name);
    }
    kestrelon::ui::OptionButton* option(const QString& name) const {
        return get<kestrelon::ui::OptionButton>(name);
    }
    QString caption(const QString& name) const { return label(name)->caption(); }
    uint fill(const QString& name) const { return get<kestrelon::ui::Shape>(name)->fillColor(); }

    // Replaces a text box's text by typing, as a user does.
    void type(const QString& name, const QString& text) const {
        kestrelon::ui::TextBox* b = box(name);
        b->setFocus();
        b->selectAll();
        QTest::keyClick(b, Qt::Key_Delete);
        QTest::keyClicks(b, text);
    }
    void click(const QString& name) const {
        QWidget* w = get<QWidget>(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
    }
    // One tick of a blink timer, without waiting for it.
    void tick(const char* timerName) const {
        auto* timer = get<QTimer>(QString::fromLatin1(timerName));
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }
};
