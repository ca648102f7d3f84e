#include "dlgtarget.h"

#include "classicpalette.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrelon {

namespace {

QLineEdit* targetBox(QWidget* parent, const char* name, const QString& text,
                     const QString& accessibleName) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

dlgTarget::dlgTarget(int chip, const TargetPrefill& prefill, Solve solve, QWidget* parent)
    : QDialog(parent), m_solve(std::move(solve)) {
    setObjectName(QStringLiteral("dlgTarget"));
    ui::keepClassicColours(this);
    const QString chipName = QStringLiteral("chip #%1").arg(chip + 1);
    setWindowTitle(QStringLiteral("Choose R1 and R2 for %1").arg(chipName));

    m_volts = targetBox(this, "txtTargetV", prefill.volts,
                        QStringLiteral("Wanted reference voltage of %1").arg(chipName));
    m_milliamps = targetBox(this, "txtTargetI", prefill.milliamps,
                            QStringLiteral("Wanted LED current of %1").arg(chipName));
    m_answer = new QLabel(this);
    m_answer->setObjectName(QStringLiteral("lblTargetAnswer"));
    m_answer->setTextFormat(Qt::PlainText);
    m_answer->setWordWrap(true);
    m_answer->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_answer->setMinimumWidth(360);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_real = new QRadioButton(QStringLiteral("What a real chip does"), this);
    m_real->setObjectName(QStringLiteral("optTargetReal"));
    m_real->setChecked(true);
    auto* window = new QRadioButton(QStringLiteral("What the window shows"), this);
    window->setObjectName(QStringLiteral("optTargetWindow"));
    auto* models = new QVBoxLayout;
    models->addWidget(m_real);
    models->addWidget(window);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Reference with RHi on \"Ref Inp\" (V):"), m_volts);
    form->addRow(QStringLiteral("LED current (mA):"), m_milliamps);
    form->addRow(QStringLiteral("Match:"), models);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(m_answer);
    column->addWidget(m_buttons);

    connect(m_volts, &QLineEdit::textChanged, this, &dlgTarget::solveAgain);
    connect(m_milliamps, &QLineEdit::textChanged, this, &dlgTarget::solveAgain);
    connect(m_real, &QRadioButton::toggled, this, &dlgTarget::solveAgain);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &dlgTarget::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &dlgTarget::reject);
    solveAgain();
}

void dlgTarget::solveAgain() {
    m_solution = m_solve(m_volts->text(), m_milliamps->text(),
                         m_real->isChecked() ? TargetModel::RealChip : TargetModel::Window);
    m_answer->setText(targetText(m_solution));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_solution.usable);
}

void dlgTarget::accept() {
    // The window may have changed since the last edit (a script can reach it): solve once more.
    solveAgain();
    if (!m_solution.usable)
        return;
    QDialog::accept();
    emit chosen(m_solution.hsR1, m_solution.vsR2);
}

} // namespace kestrelon
