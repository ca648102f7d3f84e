#include "dlgrange.h"

#include "classicpalette.h"
#include "conversions.h"
#include "plotrange.h"
#include "rangetext.h"
#include "widgetimage.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrelon {

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

QLineEdit* box(QWidget* parent, const char* name, const QString& text, const QString& spoken) {
    return named(new QLineEdit(text, parent), name, spoken);
}

// Two options side by side in a box of their own, the first or second selected: the arrow keys
// move between them and Tab stops at the selected one.
QWidget* optionPair(QWidget* parent, QRadioButton* first, QRadioButton* second,
                    bool secondChecked) {
    auto* pair = new QWidget(parent);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(first);
    row->addWidget(second);
    row->addStretch();
    (secondChecked ? second : first)->setChecked(true);
    return pair;
}

const QStringList kColumns{QStringLiteral("LED"), QStringLiteral("Asked"),
                           QStringLiteral("Nominal"), QStringLiteral("Lowest"),
                           QStringLiteral("Highest")};

} // namespace

dlgRange::dlgRange(const RangePrefill& prefill, QWidget* parent)
    : QDialog(parent), m_ledVf(prefill.ledVf) {
    setObjectName(QStringLiteral("dlgRange"));
    ui::keepClassicColours(this);
    setWindowTitle(QStringLiteral("Design for a measuring range"));
    createInputs(prefill);
    createAnswer();
    designAgain();
}

void dlgRange::createInputs(const RangePrefill& prefill) {
    m_lo = box(this, "txtRangeLo", prefill.lo, QStringLiteral("Voltage at which LED 1 lights"));
    m_hi =
        box(this, "txtRangeHi", prefill.hi, QStringLiteral("Voltage at which the last LED lights"));
    m_leds10 = named(new QRadioButton(QStringLiteral("10 (one chip)"), this), "optRangeLeds10",
                     QStringLiteral("10 LEDs on one chip"));
    m_leds20 = named(new QRadioButton(QStringLiteral("20 (two chips stacked)"), this),
                     "optRangeLeds20", QStringLiteral("20 LEDs on two stacked chips"));
    m_milliamps = box(this, "txtRangeI", prefill.milliamps, QStringLiteral("LED current per LED"));
    m_vplus = box(this, "txtRangeVplus", prefill.vplus, QStringLiteral("Chip supply voltage"));
    m_vled = box(this, "txtRangeVled", prefill.vled, QStringLiteral("LED supply voltage"));
    m_fromMeasured = named(
        new QCheckBox(QStringLiteral("Powered by the measured voltage (battery monitor)"), this),
        "chkRangeFromMeasured",
        QStringLiteral("The chip and its LEDs are powered by the measured voltage"));
    m_bar = named(new QRadioButton(QStringLiteral("Bar"), this), "optRangeBar",
                  QStringLiteral("Bar mode"));
    m_dot = named(new QRadioButton(QStringLiteral("Dot"), this), "optRangeDot",
                  QStringLiteral("Dot mode"));
    m_kind = named(new QComboBox(this), "cboRangeChip", QStringLiteral("Chip type"));
    for (const ChipKind kind : kChipKinds) {
        const std::string_view name = chipSheet(kind).name;
        m_kind->addItem(QString::fromLatin1(name.data(), qsizetype(name.size())),
                        static_cast<int>(kind));
    }
    m_kind->setCurrentIndex(m_kind->findData(static_cast<int>(prefill.kind)));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("LED 1 lights at (V):"), m_lo);
    form->addRow(QStringLiteral("Last LED lights at (V):"), m_hi);
    form->addRow(QStringLiteral("LEDs:"), optionPair(this, m_leds10, m_leds20, prefill.twenty));
    form->addRow(QStringLiteral("LED current (mA):"), m_milliamps);
    form->addRow(QStringLiteral("Chip supply V+ (V):"), m_vplus);
    form->addRow(QStringLiteral("LED supply (V):"), m_vled);
    form->addRow(m_fromMeasured);
    form->addRow(QStringLiteral("Mode:"), optionPair(this, m_bar, m_dot, prefill.dot));
    form->addRow(QStringLiteral("Chip:"), m_kind);
    for (int row = 0; row < form->rowCount(); ++row)
        if (auto* label = form->itemAt(row, QFormLayout::LabelRole))
            if (auto* text = qobject_cast<QLabel*>(label->widget()))
                text->setBuddy(form->itemAt(row, QFormLayout::FieldRole)->widget());

    auto* grid = new QGridLayout(this);
    grid->addLayout(form, 0, 0);

    for (QLineEdit* edit : {m_lo, m_hi, m_milliamps, m_vplus, m_vled})
        connect(edit, &QLineEdit::textChanged, this, &dlgRange::designAgain);
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{m_leds10, m_leds20, m_bar, m_dot, m_fromMeasured})
        connect(button, &QAbstractButton::toggled, this, &dlgRange::designAgain);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &dlgRange::designAgain);
}

void dlgRange::createAnswer() {
    m_answer = new QLabel(this);
    m_answer->setObjectName(QStringLiteral("lblRangeAnswer"));
    m_answer->setTextFormat(Qt::PlainText);
    m_answer->setWordWrap(true);
    m_answer->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_answer->setFocusPolicy(Qt::StrongFocus);
    m_answer->setMinimumWidth(420);
    m_answer->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    m_table = named(new QTableWidget(0, int(kColumns.size()), this), "tblRangeThresholds",
                    QStringLiteral("Thresholds of the measured voltage"));
    m_table->setHorizontalHeaderLabels(kColumns);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table; the arrow keys walk its cells.
    m_table->setTabKeyNavigation(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setMinimumHeight(180);

    m_plot = new RangePlot(this);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_copy = m_buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
    m_copy->setObjectName(QStringLiteral("btnRangeCopy"));
    m_save = m_buttons->addButton(QStringLiteral("Save plot…"), QDialogButtonBox::ActionRole);
    m_save->setObjectName(QStringLiteral("btnRangeSavePlot"));

    auto* right = new QVBoxLayout;
    right->addWidget(m_answer);
    right->addWidget(m_table, 1);
    auto* grid = static_cast<QGridLayout*>(layout());
    // The plot under the inputs and the answer beside both keep the dialog within a small screen.
    grid->addLayout(right, 0, 1, 2, 1);
    grid->addWidget(m_plot, 1, 0);
    grid->addWidget(m_buttons, 2, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &dlgRange::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &dlgRange::reject);
    connect(m_copy, &QPushButton::clicked, this, &dlgRange::copyAnswer);
    connect(m_save, &QPushButton::clicked, this, &dlgRange::savePlot);
}

RangeRequest dlgRange::request() const {
    RangeRequest r;
    r.lo = parse(m_lo->text());
    r.hi = parse(m_hi->text());
    r.leds = m_leds20->isChecked() ? 20 : 10;
    r.kind = static_cast<ChipKind>(m_kind->currentData().toInt());
    r.dot = m_dot->isChecked();
    r.ledMilliamps = parse(m_milliamps->text());
    r.vplus = parse(m_vplus->text());
    r.vled = parse(m_vled->text());
    r.ledVf = m_ledVf;
    r.fromMeasured = m_fromMeasured->isChecked();
    return r;
}

void dlgRange::designAgain() {
    // Powered by the range, the supplies are the range's own.
    m_vplus->setEnabled(!m_fromMeasured->isChecked());
    m_vled->setEnabled(!m_fromMeasured->isChecked());
    m_design = designRange(request());
    const QString answer = rangeAnswer(m_design);
    m_answer->setText(answer);
    m_answer->setAccessibleDescription(answer);
    fillTable();
    m_plot->showDesign(m_design);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_design.made);
    m_save->setEnabled(m_design.made);
}

void dlgRange::fillTable() {
    m_table->setRowCount(int(m_design.thresholds.size()));
    for (std::size_t led = 0; led < m_design.thresholds.size(); ++led) {
        const auto cells = rangeThresholdCells(m_design, led);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(int(led), int(column), item);
        }
    }
}

void dlgRange::copyAnswer() {
    QGuiApplication::clipboard()->setText(rangeReport(m_design));
}

void dlgRange::savePlot() {
    QFileDialog* dialog =
        imageSaveDialog(this, QStringLiteral("dlgSaveRangePlot"),
                        QStringLiteral("Save plot as image"), QStringLiteral("range.png"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        const QString why = saveWidgetImage(m_plot, path);
        if (!why.isEmpty())
            tellImageNotSaved(this, QStringLiteral("msgPlotNotSaved"), QStringLiteral("The plot"),
                              path, why);
    });
    dialog->open();
}

void dlgRange::accept() {
    // The boxes are read once more, as the design they show.
    designAgain();
    if (!m_design.made)
        return;
    QDialog::accept();
    emit chosen(m_design);
}

} // namespace kestrelon
