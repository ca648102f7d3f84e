#include "auxwindows.h"
#include "formbuilder.h"
#include "formfixture.h"
#include "layouttypes.h"
#include "textcontrast.h"
#include "uimetrics.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextStream>

#include <map>
#include <memory>

using namespace kestrelon;

namespace {

// A text or drawing whose contrast is measured, in the logical pixels of its window.
struct Area {
    QString name;
    QRect rect;
};

// Window text, window and base colours that qt6ct's "darker" scheme gives, with the rest of a
// dark palette around them.
QPalette darkerPalette() {
    QPalette p(QColor(0xffffff), QColor(0x424245), QColor(0x979797), QColor(0x302f2e),
               QColor(0x4a4947), QColor(0xffffff), QColor(0xffffff), QColor(0x3d3d3d),
               QColor(0x222020));
    p.setColor(QPalette::Highlight, QColor(0x12608a));
    p.setColor(QPalette::HighlightedText, QColor(0xf9f9f9));
    p.setColor(QPalette::ToolTipBase, QColor(0x3f3f36));
    p.setColor(QPalette::ToolTipText, QColor(0xffffff));
    p.setColor(QPalette::PlaceholderText, QColor(0xffffff));
    return p;
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

// Sets the application palette, as a desktop theme does, for one scope.
class AppPalette {
public:
    explicit AppPalette(const QPalette& palette) : m_before(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~AppPalette() { QApplication::setPalette(m_before); }
    AppPalette(const AppPalette&) = delete;
    AppPalette& operator=(const AppPalette&) = delete;

private:
    QPalette m_before;
};

QRect twips(int left, int top, int width, int height) {
    return twipsRect(left, top, width, height);
}

// Every text of the main window, located by the design table rather than by its widgets, and
// every wire: a small box around each line's middle.
QList<Area> mainWindowAreas(const Form1& form) {
    QList<Area> areas;
    const QWidget* canvas = form.findChild<QWidget*>(QStringLiteral("canvas"));
    const QPoint origin = canvas->mapTo(&form, QPoint());
    const QStyle* style = form.style();
    const int radioText = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const int checkText = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                          style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);

    const layout::Table& table = layout::mainWindowTable();
    std::map<QString, QPoint> frames;
    for (int i = 0; i < table.controlCount; ++i) {
        const layout::Control& c = table.controls[i];
        const QString name = layout::controlName(c.name, c.index);
        QRect rect = twips(c.left, c.top, c.width, c.height);
        if (c.parent)
            rect.translate(frames.at(layout::controlName(c.parent, c.parentIndex)));
        switch (c.kind) {
        case layout::Kind::Frame: {
            frames[name] = rect.topLeft();
            const QFontMetrics metrics(designFont(c.font.points, c.font.bold));
            rect.setHeight(metrics.height());
            break;
        }
        case layout::Kind::Label:
        case layout::Kind::StaticLabel:
            // The box's outline is not text.
            if (c.boxed)
                rect.adjust(1, 1, -1, -1);
            break;
        case layout::Kind::TextBox:
            rect.adjust(2, 2, -2, -2);
            break;
        case layout::Kind::Option:
            rect.setLeft(rect.left() + radioText);
            break;
        case layout::Kind::Check:
            rect.setLeft(rect.left() + checkText);
            break;
        default:
            continue; // sliders and shapes hold no text
        }
        if (c.visible)
            areas.append({name, rect.translated(origin)});
    }

    for (int i = 0; i < table.lineCount; ++i) {
        const layout::Line& l = table.lines[i];
        const QPoint middle((l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2);
        const auto add = [&](int index, int offset) {
            const QPoint at(twipsToPixels(middle.x()), twipsToPixels(middle.y() - offset));
            areas.append({layout::controlName(l.name, index),
                          QRect(at - QPoint(3, 3), QSize(7, 7)).translated(origin)});
        };
        add(l.index1, 0);
        if (l.index2 >= 0)
            add(l.index2, layout::kChipOffset);
    }

    const QMenuBar* menu = form.menuBar();
    for (QAction* action : menu->actions())
        areas.append({action->objectName(),
                      menu->actionGeometry(action).translated(menu->mapTo(&form, QPoint()))});
    return areas;
}

QList<Area> aboutBoxAreas(const QWidget& about) {
    QList<Area> areas;
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription"}) {
        const auto* label = about.findChild<QWidget*>(QLatin1String(name));
        areas.append({QLatin1String(name), label->geometry()});
    }
    return areas;
}

QList<Area> helpWindowAreas(const QWidget& help) {
    const auto* box = help.findChild<QAbstractScrollArea*>(QStringLiteral("txt1"));
    const QWidget* page = box->viewport();
    return {{QStringLiteral("txt1"), QRect(page->mapTo(&help, QPoint()), page->size())}};
}

QWidget* openWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    qFatal("window %s is not open", name);
}

using Readings = std::map<QString, double>;

void measureWindow(QWidget* window, const QList<Area>& areas, const QString& prefix,
                   Readings& out) {
    QCoreApplication::processEvents();
    const QPixmap shot = window->grab();
    const QImage image = shot.toImage();
    const qreal scale = shot.devicePixelRatio();
    for (const Area& area : areas) {
        const QRectF r(area.rect);
        const QRect pixels(QPointF(r.topLeft() * scale).toPoint(),
                           QPointF((r.bottomRight() + QPointF(1, 1)) * scale).toPoint() -
                               QPoint(1, 1));
        out[prefix + area.name] = textcontrast::measure(image, pixels).contrast;
    }
}

// The contrast of every text of the three windows as rendered now.
Readings measureAll(const FormFixture& f) {
    Readings out;
    measureWindow(f.form.get(), mainWindowAreas(*f.form), QStringLiteral("Form1."), out);
    showAboutBox();
    QWidget* about = openWindow("frmAbout");
    measureWindow(about, aboutBoxAreas(*about), QStringLiteral("frmAbout."), out);
    showHelpWindow();
    QWidget* help = openWindow("Form2");
    measureWindow(help, helpWindowAreas(*help), QStringLiteral("Form2."), out);
    return out;
}

enum class Switch { BeforeOpening, WhileOpen, StyleWhileOpen };

constexpr char kPrintReadings[] = "--print-readings";

// Every text that reads at 3:1 or better in the light theme does so in the dark one, and none
// reads worse.
void compareReadings(const Readings& light, const Readings& dark) {
    int readable = 0;
    int unreadable = 0;
    QStringList failures;
    for (const auto& [name, before] : light) {
        const auto found = dark.find(name);
        QVERIFY2(found != dark.end(), qPrintable(name));
        const double after = found->second;
        if (before >= 3.0)
            ++readable;
        if (before >= 3.0 && after < 3.0)
            ++unreadable;
        if ((before >= 3.0 && after < 3.0) || after < before * 0.99)
            failures << QStringLiteral("%1 %2:1 (light %3:1)")
                            .arg(name)
                            .arg(after, 0, 'f', 2)
                            .arg(before, 0, 'f', 2);
    }
    // Texts, wires and menu commands of all three windows; most read well in the light theme.
    QVERIFY2(light.size() > 200, qPrintable(QString::number(light.size())));
    QVERIFY2(readable > 150, qPrintable(QString::number(readable)));
    QVERIFY2(
        failures.isEmpty(),
        qPrintable(
            QStringLiteral("%1 read worse, %2 below 3:1: ").arg(failures.size()).arg(unreadable) +
            failures.join(QStringLiteral(", "))));
}

} // namespace

Q_DECLARE_METATYPE(Switch)

class TestThemes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everyTextReadsOnADarkDesktop_data();
    void everyTextReadsOnADarkDesktop();
    void everyTextReadsUnderQt6ctDarker();

private:
    Readings lightReadings();

    QPalette m_light;
    QPalette m_dark;
};

void TestThemes::initTestCase() {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    m_light = fusion->standardPalette();
    QVERIFY(!isDark(m_light));
    // Under a dark platform theme (qt6ct's "darker" scheme) its own palette is the one to test.
    const QPalette start = QApplication::palette();
    m_dark = isDark(start) ? start : darkerPalette();
}

void TestThemes::cleanup() {
    closeAuxWindows();
}

Readings TestThemes::lightReadings() {
    AppPalette light(m_light);
    FormFixture f;
    Readings readings = measureAll(f);
    closeAuxWindows();
    return readings;
}

void TestThemes::everyTextReadsOnADarkDesktop_data() {
    QTest::addColumn<Switch>("when");
    QTest::newRow("dark before the windows open") << Switch::BeforeOpening;
    QTest::newRow("switched to dark while open") << Switch::WhileOpen;
    QTest::newRow("style and palette switched while open") << Switch::StyleWhileOpen;
}

void TestThemes::everyTextReadsOnADarkDesktop() {
    QFETCH(Switch, when);
    const Readings light = lightReadings();

    Readings dark;
    {
        AppPalette theme(when == Switch::BeforeOpening ? m_dark : m_light);
        FormFixture f;
        showAboutBox();
        showHelpWindow();
        if (when != Switch::BeforeOpening)
            QApplication::setPalette(m_dark);
        if (when == Switch::StyleWhileOpen) {
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
            QApplication::setPalette(m_dark);
        }
        dark = measureAll(f);
    }

    compareReadings(light, dark);
}

void TestThemes::everyTextReadsUnderQt6ctDarker() {
    // qt6ct imposes its palette on the whole process, so the dark side is measured in a
    // process of its own, started with the "darker" scheme, and compared with the light one here.
    const QString scheme = QStringLiteral("/usr/share/qt6ct/colors/darker.conf");
    QVERIFY2(QFile::exists(scheme), "qt6ct is not installed");
    QTemporaryDir config;
    QVERIFY(QDir(config.path()).mkpath(QStringLiteral("qt6ct")));
    QFile conf(config.filePath(QStringLiteral("qt6ct/qt6ct.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[Appearance]\ncustom_palette=true\ncolor_scheme_path=" + scheme.toUtf8() + "\n");
    conf.close();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("qt6ct"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kPrintReadings)});
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitCode(), 0);

    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    QCOMPARE(lines.value(0), QByteArray("palette dark"));
    Readings dark;
    for (const QByteArray& line : lines.mid(1)) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            dark[QString::fromUtf8(fields[0])] = fields[1].toDouble();
    }
    compareReadings(lightReadings(), dark);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The dark side of everyTextReadsUnderQt6ctDarker, run under the platform theme.
    if (QCoreApplication::arguments().contains(QLatin1String(kPrintReadings))) {
        QTextStream out(stdout);
        out << "palette " << (isDark(QApplication::palette()) ? "dark" : "light") << '\n';
        FormFixture f;
        for (const auto& [name, contrast] : measureAll(f))
            out << name << ' ' << QString::number(contrast, 'g', 10) << '\n';
        closeAuxWindows();
        return 0;
    }
    TestThemes test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_themes.moc"
