#include "accessibletext.h"

#include <QVariant>
#include <QWidget>

namespace kestrelon::ui {

namespace {

constexpr char kMeaning[] = "_kestrelon_accessibleMeaning";
constexpr char kHint[] = "_kestrelon_accessibleHint";

void setPart(QWidget* widget, const char* part, const QString& text) {
    if (widget->property(part).toString() == text)
        return;
    widget->setProperty(part, text);
    const QString meaning = widget->property(kMeaning).toString();
    const QString hint = widget->property(kHint).toString();
    if (meaning.isEmpty() || hint.isEmpty())
        widget->setAccessibleDescription(meaning + hint);
    else
        widget->setAccessibleDescription(meaning + QStringLiteral(". ") + hint);
}

} // namespace

void setAccessibleMeaning(QWidget* widget, const QString& meaning) {
    setPart(widget, kMeaning, meaning);
}

void setAccessibleHint(QWidget* widget, const QString& hint) {
    setPart(widget, kHint, hint);
}

} // namespace kestrelon::ui
