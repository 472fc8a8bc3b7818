#include "windows/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace {

// The options every Qt program takes, with a value and without; the
// application object reads them.
const char* const kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                           "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                           "display", "geometry", "name", "title", "style", "stylesheet",
                                           "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void AddQtOptions(QCommandLineParser& parser)
{
    for (const char* name : kQtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments)
{
    QCommandLineParser parser;
    // "-platform offscreen" as Qt writes it: one dash, a whole word.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption diagnostics(QStringLiteral("diagnostics"));
    parser.addOptions({help, version, diagnostics});
    AddQtOptions(parser);

    QStringList words{QStringLiteral("Qorvix")};
    for (const std::string& argument : arguments)
        words << QString::fromLocal8Bit(argument);
    CommandLineOptions options;
    if (!parser.parse(words))
        options.error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        options.error = QStringLiteral("Unexpected argument '%1': Qorvix opens no files.")
                            .arg(parser.positionalArguments().constFirst());
    if (!options.error.isEmpty())
        return options;
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.diagnostics = parser.isSet(diagnostics);
    return options;
}

std::string UsageText(const std::string& programName)
{
    return "Usage: " + programName + " [--diagnostics] [--help] [--version]\n"
           "Quorvex, an explorer of the Mandelbrot set and related escape-time fractals.\n"
           "  --diagnostics  show the tool button \"デバッグ\" with the diagnostics grid and the colour-map view\n"
           "  -h, --help     print this text and exit\n"
           "  -v, --version  print the version and exit\n"
           "Qt's own options, such as -platform offscreen or -style fusion, are passed on.\n";
}

std::string VersionText() { return "Qorvix (Quorvex) " QUORVEX_VERSION "\n"; }
