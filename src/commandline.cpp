#include "commandline.h"

#include "designfile.h"
#include "designreport.h"
#include "layouttypes.h"
#include "partslist.h"
#include "spicenetlist.h"
#include "storeddesign.h"
#include "version.h"

#include <QTemporaryFile>

#include <cstring>

namespace kestrelon {

namespace {

struct Option {
    const char* name;
    CommandLine::Action action;
    bool takesFile;
};

constexpr Option kOptions[] = {
    {"--report", CommandLine::Action::Report, true},
    {"--bom", CommandLine::Action::PartsList, true},
    {"--netlist", CommandLine::Action::Netlist, true},
    {"--help", CommandLine::Action::Help, false},
    {"-h", CommandLine::Action::Help, false},
    {"--version", CommandLine::Action::Version, false},
};

const Option* findOption(QStringView argument) {
    for (const Option& o : kOptions)
        if (argument == QLatin1StringView(o.name))
            return &o;
    return nullptr;
}

QString usage() {
    return QStringLiteral(
        "Usage: kestrelon [FILE]\n"
        "       kestrelon --report FILE | --bom FILE | --netlist FILE\n"
        "       kestrelon --help | --version\n"
        "\n"
        "Without an option Kestrelon opens its window, and FILE, a design (.kestrelon), in it.\n"
        "\n"
        "  --report FILE   print the design report as plain text\n"
        "  --bom FILE      print the parts list as CSV\n"
        "  --netlist FILE  print a SPICE netlist of the design for ngspice\n"
        "  -h, --help      print this help\n"
        "  --version       print the version\n"
        "\n"
        "FILE may be - for standard input. The settings Exit&Save writes are a design too.\n");
}

bool write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream) ==
               static_cast<std::size_t>(bytes.size()) &&
           std::fflush(stream) == 0;
}

// Standard input copied to a temporary file, which the design is then read from like any.
bool copyInput(std::FILE* in, QTemporaryFile& copy) {
    if (!copy.open())
        return false;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        if (copy.write(buffer, static_cast<qint64>(n)) != static_cast<qint64>(n))
            return false;
    copy.close();
    return !std::ferror(in);
}

// The window's inputs as designed, which an entry that does not restore leaves as they are.
DesignedValues designedInputs() {
    using layout::Kind;
    DesignedValues values;
    const layout::Table& table = layout::mainWindowTable();
    for (int i = 0; i < table.controlCount; ++i) {
        const layout::Control& c = table.controls[i];
        const QString name = layout::controlName(c.name, c.index);
        if (c.kind == Kind::TextBox)
            values.insert(name, QString::fromUtf8(c.caption ? c.caption : ""));
        else if (c.kind == Kind::HScroll || c.kind == Kind::VScroll || c.kind == Kind::Option)
            values.insert(name, QString::number(c.value));
    }
    return values;
}

} // namespace

QString designDocument(CommandLine::Action action, const SettingsStore& store) {
    const StoredDesign design = storedDesign(store, designedInputs());
    const ChipDesign& c1 = design.chips[0];
    const ChipDesign& c2 = design.chips[1];
    switch (action) {
    case CommandLine::Action::PartsList:
        return partsListCsv(partsList(c1, c2));
    case CommandLine::Action::Netlist:
        return spiceNetlist(c1, c2);
    default:
        return designReport(c1, c2);
    }
}

bool printsWithoutWindow(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (findOption(QString::fromLocal8Bit(argv[i])))
            return true;
    return false;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine command;
    const auto error = [&command](const QString& text) {
        command.action = CommandLine::Action::Error;
        command.error = text;
        return command;
    };
    bool chosen = false;
    bool haveFile = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (const Option* option = findOption(argument)) {
            if (chosen)
                return error(QStringLiteral("only one of --report, --bom, --netlist, --help "
                                            "and --version may be given"));
            chosen = true;
            command.action = option->action;
            if (option->takesFile) {
                if (i + 1 >= arguments.size())
                    return error(argument + QStringLiteral(" needs a design file (or - for "
                                                           "standard input)"));
                command.file = arguments[++i];
                haveFile = true;
            }
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            return error(QStringLiteral("unknown option ") + argument);
        } else {
            if (haveFile)
                return error(QStringLiteral("only one design file may be given"));
            command.file = argument;
            haveFile = true;
        }
    }
    const bool takesFile = command.action == CommandLine::Action::Window ||
                           command.action == CommandLine::Action::Report ||
                           command.action == CommandLine::Action::PartsList ||
                           command.action == CommandLine::Action::Netlist;
    if (haveFile && !takesFile)
        return error(QStringLiteral("a design file goes with --report, --bom or --netlist"));
    if (command.action == CommandLine::Action::Window && command.file == QLatin1String("-"))
        return error(QStringLiteral("the window opens a design file, not standard input"));
    return command;
}

int runCommandLine(const CommandLine& command, std::FILE* in, std::FILE* out, std::FILE* err) {
    using Action = CommandLine::Action;
    switch (command.action) {
    case Action::Window:
        return 2;
    case Action::Error:
        write(err, QStringLiteral("kestrelon: ") + command.error +
                       QStringLiteral("\nTry 'kestrelon --help' for more information.\n"));
        return 2;
    case Action::Help:
        return write(out, usage()) ? 0 : 1;
    case Action::Version:
        return write(out, QStringLiteral("%1 %2.%3.%4\n")
                              .arg(QLatin1StringView(kAppTitle))
                              .arg(kVersionMajor)
                              .arg(kVersionMinor)
                              .arg(kVersionRevision))
                   ? 0
                   : 1;
    case Action::Report:
    case Action::PartsList:
    case Action::Netlist:
        break;
    }

    const bool fromInput = command.file == QLatin1String("-");
    const QString shownName = fromInput ? QStringLiteral("standard input") : command.file;
    QTemporaryFile copy;
    if (fromInput && !copyInput(in, copy)) {
        write(err, QStringLiteral("kestrelon: standard input could not be read\n"));
        return 1;
    }
    const OpenedDesign opened = openDesignFile(fromInput ? copy.fileName() : command.file);
    if (!opened.store) {
        write(err, QStringLiteral("kestrelon: ") + opened.message(shownName) + QLatin1Char('\n'));
        return 1;
    }
    if (!write(out, designDocument(command.action, *opened.store))) {
        write(err, QStringLiteral("kestrelon: the output could not be written: %1\n")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return 1;
    }
    return 0;
}

} // namespace kestrelon
