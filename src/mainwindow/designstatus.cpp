#include "designstatus.h"

#include "chiphints.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace kestrelon {

namespace {

// A line of text that a click, Enter or Space activates, and that shows when it has focus.
class ActiveLine : public QLabel {
public:
    ActiveLine(QWidget* parent, std::function<void()> activated)
        : QLabel(parent), m_activated(std::move(activated)) {
        setFocusPolicy(Qt::TabFocus);
        setWordWrap(true);
        setTextFormat(Qt::PlainText);
        setCursor(Qt::PointingHandCursor);
        setMargin(2);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_activated();
        QLabel::mouseReleaseEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            m_activated();
            return;
        }
        QLabel::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }

private:
    std::function<void()> m_activated;
};

} // namespace

DesignStatus::DesignStatus(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("designStatus"));
    auto* lines = new QVBoxLayout;
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    for (int k = 0; k < 2; ++k) {
        auto* line = new ActiveLine(this, [this, k] { showChecks(k); });
        line->setObjectName(QStringLiteral("lblChecks_%1").arg(k));
        m_lines[k] = line;
        lines->addWidget(line);
    }
    m_ambient = new QSpinBox(this);
    m_ambient->setObjectName(QStringLiteral("spnAmbient"));
    m_ambient->setRange(static_cast<int>(kFamily.ambientMin), static_cast<int>(kFamily.ambientMax));
    m_ambient->setValue(static_cast<int>(kFamily.packageAmbient));
    m_ambient->setPrefix(QStringLiteral("Ambient "));
    m_ambient->setSuffix(QStringLiteral(" °C"));
    m_ambient->setAccessibleName(QStringLiteral("Ambient temperature for the checks"));
    connect(m_ambient, &QSpinBox::valueChanged, this,
            [this](int celsius) { emit ambientChanged(celsius); });
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addLayout(lines, 1);
    row->addWidget(m_ambient, 0, Qt::AlignTop);
}

void DesignStatus::showDesign(const ChipDesign& d) {
    const int k = d.chip;
    const QString summary = checkSummary(d);
    m_lists[k] = checkList(d);
    if (m_lines[k]->text() == summary)
        return;
    m_lines[k]->setText(summary);
    m_lines[k]->setAccessibleName(summary);
    m_lines[k]->setAccessibleDescription(
        QStringLiteral("Enter shows every check of chip #%1").arg(k + 1));
    m_lines[k]->setToolTip(QStringLiteral("Click to show every check of chip #%1").arg(k + 1));
    if (m_open[k])
        m_open[k]->findChild<QPlainTextEdit*>()->setPlainText(m_lists[k]);
}

double DesignStatus::ambient() const {
    return m_ambient->value();
}

void DesignStatus::setAmbient(double celsius) {
    if (std::isfinite(celsius))
        m_ambient->setValue(static_cast<int>(std::lround(celsius)));
}

void DesignStatus::showChecks(int chip) {
    if (!m_open[chip]) {
        auto* dialog = new QDialog(window());
        dialog->setObjectName(QStringLiteral("dlgChecks_%1").arg(chip));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowTitle(QStringLiteral("Checks of chip #%1").arg(chip + 1));
        auto* text = new QPlainTextEdit(dialog);
        text->setReadOnly(true);
        text->setAccessibleName(dialog->windowTitle());
        text->setMinimumSize(520, 260);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
        connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
        auto* column = new QVBoxLayout(dialog);
        column->addWidget(text);
        column->addWidget(buttons);
        m_open[chip] = dialog;
    }
    m_open[chip]->findChild<QPlainTextEdit*>()->setPlainText(m_lists[chip]);
    m_open[chip]->show();
    m_open[chip]->raise();
}

} // namespace kestrelon
