#include "partslist.h"

#include "chipsheet.h"
#include "figuretext.h"
#include "standardvalues.h"

#include <QStringList>

#include <cmath>

namespace kestrelon {

namespace {

QString chipLabel(int chip) {
    return chip == 0 ? QStringLiteral("chip #1") : QStringLiteral("chip #2");
}

QString ref(const char* prefix, int number) {
    return QLatin1StringView(prefix) + QString::number(number);
}

// The resistor to buy for a design value: part, an E96 value at 1 % (0 when there is none),
// rated for twice what it dissipates with current amperes through it.
PartRow resistor(QString reference, double ohmsWanted, double part, double current,
                 QString purpose) {
    PartRow row;
    row.reference = std::move(reference);
    if (ohmsWanted == 0) {
        row.value = ohms(0);
        row.series = QStringLiteral("wire link");
        row.description = purpose + QStringLiteral(": 0 Ω, a wire link");
        return row;
    }
    row.value = ohms(part > 0 ? part : ohmsWanted);
    row.series = part > 0 ? QStringLiteral("E96") : QStringLiteral("none");
    row.tolerance = QStringLiteral("1 %");
    row.power = rating(powerRating(current * current * (part > 0 ? part : ohmsWanted)));
    row.description = purpose + QStringLiteral(" (designed ") + ohms(ohmsWanted) + QLatin1Char(')');
    return row;
}

void addChip(std::vector<PartRow>& rows, const ChipDesign& d) {
    const int n = d.chip + 1;
    const QString chip = chipLabel(d.chip);
    const ChipInputs& in = d.inputs;
    const QString mode = in.optMode[0]   ? QStringLiteral("bar mode")
                         : in.optMode[1] ? QStringLiteral("dot mode")
                                         : QStringLiteral("no mode chosen");
    const ChipSheet& sheet = chipSheet(d.circuit.kind);

    PartRow u;
    u.reference = ref("U", n);
    u.value = QString::fromLatin1(sheet.name.data(), static_cast<qsizetype>(sheet.name.size()));
    u.description = QStringLiteral("Dot/bar display driver, ") + chip + QStringLiteral(", ") +
                    mode + QStringLiteral(", 18-pin DIP");
    rows.push_back(u);

    // R1 carries the reference's 1.25 V; R2 that current plus the adjust pin's.
    const double iR1 = d.state.R1 > 0 ? kFamily.referenceNominal / d.state.R1 : 0;
    // The E96 pair chosen together for the real chip, else each part on its own.
    const bool paired = d.pairE96.R1 > 0;
    const double r1 = paired ? d.pairE96.R1 : nearestStandard(d.state.R1, Series::E96);
    const double r2 = paired ? d.pairE96.R2 : nearestStandard(d.state.R2, Series::E96);
    rows.push_back(resistor(ref("R", 2 * n - 1), d.state.R1, r1, iR1,
                            QStringLiteral("R1 of ") + chip +
                                QStringLiteral(", REF OUT to REF ADJ: sets the LED current")));
    rows.push_back(resistor(ref("R", 2 * n), d.state.R2, r2, iR1 + kFamily.adjustCurrent.typ,
                            QStringLiteral("R2 of ") + chip +
                                QStringLiteral(", REF ADJ to ground: sets the reference")));

    const RealLimiter& limiter = d.limiter;
    if (limiter.proposed) {
        PartRow r;
        r.reference = ref("RLIM", n);
        r.value = limiter.ohms > 0 ? ohms(limiter.ohms) : figure(limiter.minimum, "#0.0", "Ω");
        r.series = limiter.ohms > 0 ? QStringLiteral("E24") : QStringLiteral("none");
        r.tolerance = QStringLiteral("5 %");
        r.power = limiter.rating > 0 ? rating(limiter.rating) : QStringLiteral("over 5 W");
        r.description = QStringLiteral("Limiting resistor of ") + chip +
                        QStringLiteral(", LED supply to the LED anodes (at least ") +
                        figure(limiter.minimum, "#0.0", "Ω") + QLatin1Char(')');
        rows.push_back(r);
    }

    PartRow c;
    c.reference = ref("C", n);
    c.value = figure(kFamily.ledBypassMicrofarads, "#0.0", "µF");
    c.tolerance = QStringLiteral("20 %");
    c.description = QStringLiteral("Solid tantalum capacitor of ") + chip +
                    QStringLiteral(", LED supply to ground, close to the chip");
    rows.push_back(c);

    PartRow leds;
    leds.reference = ref("D", 10 * d.chip + 1) + QLatin1Char('-') + ref("D", 10 * d.chip + 10);
    leds.value =
        d.ledColour.isEmpty() ? QStringLiteral("LED") : d.ledColour + QStringLiteral(" LED");
    leds.quantity = 10;
    leds.description = QStringLiteral("LEDs of ") + chip + QStringLiteral(", ") + volts(d.ledVf) +
                       QStringLiteral(" forward voltage at ") + milliamps(d.iled.nominal);
    rows.push_back(leds);
}

QString csvField(const QString& field) {
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar ch : field)
        quote = quote || special.contains(ch);
    if (!quote)
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void csvRow(QString& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += csvField(fields[i]);
    }
    out += QStringLiteral("\r\n");
}

} // namespace

std::vector<PartRow> partsList(const ChipDesign& chip1, const ChipDesign& chip2) {
    std::vector<PartRow> rows;
    addChip(rows, chip1);
    addChip(rows, chip2);
    return rows;
}

QString partsListCsv(const std::vector<PartRow>& rows) {
    QString out;
    csvRow(out, {QStringLiteral("Reference"), QStringLiteral("Value"), QStringLiteral("Series"),
                 QStringLiteral("Tolerance"), QStringLiteral("Power rating"),
                 QStringLiteral("Quantity"), QStringLiteral("Description")});
    for (const PartRow& r : rows)
        csvRow(out, {r.reference, r.value, r.series, r.tolerance, r.power,
                     QString::number(r.quantity), r.description});
    return out;
}

} // namespace kestrelon
