#include "controls.h"

#include "uimetrics.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <limits>

namespace kestrelon::ui {

void setWidgetColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t bgr) {
    QPalette palette = widget->palette();
    const QColor colour = colourFromBgr(bgr);
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    palette.setColor(QPalette::Disabled, role, colour);
    widget->setPalette(palette);
}

void RoleColour::set(QWidget* widget, uint bgr) {
    if (m_applied && bgr == m_value)
        return;
    m_value = bgr;
    m_applied = true;
    // A window background is only painted by widgets that fill it.
    if (m_role == QPalette::Window)
        widget->setAutoFillBackground(true);
    setWidgetColour(widget, m_role, bgr);
}

Label::Label(QWidget* parent) : QLabel(parent) {}

void Label::setCaption(const QString& caption) {
    if (caption != text())
        setText(caption);
}

Frame::Frame(QWidget* parent) : QGroupBox(parent) {}

TextBox::TextBox(qint16 index, QWidget* parent) : QLineEdit(parent), m_index(index) {
    // A text box holds any text: Qt's default would cut it at 32,767 characters.
    setMaxLength(std::numeric_limits<int>::max());
    // textChanged, unlike textEdited, also fires for text written by code, as the handlers expect.
    connect(this, &QLineEdit::textChanged, this, [this] { emit Change(m_index); });
}

ScrollBar::ScrollBar(Qt::Orientation orientation, qint16 index, int min, int max, int value,
                     QWidget* parent)
    : QScrollBar(orientation, parent), m_index(index), m_min(min), m_max(max) {
    setRange(std::min(min, max), std::max(min, max));
    // Drawn so that `min` is at the left or top; the wheel turns the thumb the way it rolls.
    setInvertedAppearance(min > max);
    setInvertedControls(orientation == Qt::Vertical ? min < max : min > max);
    setSingleStep(1);
    setPageStep(1);
    // Set before the signals are connected: the design value raises no event.
    setValue(value);
    connect(this, &QAbstractSlider::actionTriggered, this, &ScrollBar::turnAction);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (isSliderDown())
            emit Scroll(m_index);
        else
            emit Change(m_index);
    });
    connect(this, &QAbstractSlider::sliderPressed, this,
            [this] { m_valueAtPress = this->value(); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        if (this->value() != m_valueAtPress)
            emit Change(m_index);
    });
}

bool ScrollBar::inRange(int value) const {
    return value >= std::min(m_min, m_max) && value <= std::max(m_min, m_max);
}

void ScrollBar::keyPressEvent(QKeyEvent* event) {
    // Left, Up and Page Up lead to the left or top end, where `min` is drawn; Right, Down and
    // Page Down away from it, whichever way the slider lies.
    int towardsMin = 0;
    bool page = false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        towardsMin = 1;
        break;
    case Qt::Key_PageUp:
        towardsMin = 1;
        page = true;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        towardsMin = -1;
        break;
    case Qt::Key_PageDown:
        towardsMin = -1;
        page = true;
        break;
    default:
        break;
    }
    m_keyAction = true;
    if (towardsMin == 0) {
        QScrollBar::keyPressEvent(event);
    } else {
        const bool add = (towardsMin > 0) == (m_min > m_max);
        triggerAction(page ? (add ? SliderPageStepAdd : SliderPageStepSub)
                           : (add ? SliderSingleStepAdd : SliderSingleStepSub));
        event->accept();
    }
    m_keyAction = false;
}

void ScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    // Qt's styles draw no focus on a scroll bar; a frame in the highlight colour shows it.
    if (!hasFocus())
        return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), kFocusFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kFocusFrameWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

void ScrollBar::turnAction(int action) {
    // Qt's scroll bar steps towards its arrows and trough as if the minimum were drawn first;
    // drawn upside down, an arrow, a trough click and Top/Bottom must step the other way. Keys
    // already step the way they point.
    if (!invertedAppearance())
        return;
    const int before = value();
    switch (action) {
    case SliderSingleStepAdd:
    case SliderSingleStepSub:
    case SliderPageStepAdd:
    case SliderPageStepSub:
        if (!m_keyAction)
            setSliderPosition(std::clamp(2 * before - sliderPosition(), minimum(), maximum()));
        break;
    case SliderToMinimum:
        setSliderPosition(maximum());
        break;
    case SliderToMaximum:
        setSliderPosition(minimum());
        break;
    default:
        break;
    }
}

OptionButton::OptionButton(qint16 index, QWidget* parent) : QRadioButton(parent), m_index(index) {
    // Qt's auto-exclusive group clears the others before this one reports its selection.
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked)
            emit Click(m_index);
    });
}

void OptionButton::setValue(bool selected) {
    if (selected || !isChecked()) {
        setChecked(selected);
        return;
    }
    // Qt keeps an exclusive group's selection; code may clear it all the same.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

void OptionButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        selectSibling(-1);
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        selectSibling(1);
        return;
    default:
        QRadioButton::keyPressEvent(event);
    }
}

void OptionButton::focusInEvent(QFocusEvent* event) {
    QRadioButton::focusInEvent(event);
    // Qt takes Tab away from the other buttons of an exclusive group; here Tab visits them all.
    for (OptionButton* option : group())
        option->setFocusPolicy(Qt::StrongFocus);
}

QList<OptionButton*> OptionButton::group() const {
    return parentWidget()->findChildren<OptionButton*>(QString(), Qt::FindDirectChildrenOnly);
}

void OptionButton::selectSibling(int step) {
    const QList<OptionButton*> group = this->group();
    const qsizetype at = group.indexOf(this);
    const qsizetype next = (at + step + group.size()) % group.size();
    OptionButton* target = group.at(next);
    target->setFocus(Qt::TabFocusReason);
    target->setValue(true);
}

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent), m_caption(new QLabel(this)) {
    m_caption->setWordWrap(true);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Clicks on the caption reach the check box.
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(this, &QCheckBox::toggled, this, [this] { emit Click(); });
}

QString CheckBox::caption() const {
    return m_caption->text();
}

void CheckBox::setCaption(const QString& caption) {
    m_caption->setText(caption);
    if (accessibleName().isEmpty())
        setAccessibleName(caption);
}

void CheckBox::paintEvent(QPaintEvent* event) {
    QCheckBox::paintEvent(event);
    // The style frames a focused check box's own text, which is empty: the caption is framed.
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = m_caption->geometry().intersected(rect());
    frame.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

void CheckBox::resizeEvent(QResizeEvent* event) {
    QCheckBox::resizeEvent(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int left =
        box.right() + 1 + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    m_caption->setGeometry(left, 0, width() - left, height());
}

} // namespace kestrelon::ui
