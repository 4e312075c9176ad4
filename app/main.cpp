// Kestrova: the window program. `Kestrova [FILE]` starts with the main window and, given a
// file, opens it as File Open would.
//
// Options: --help and --version print and end the program. --display-settings FILE and
// --analysis-settings FILE apply a display and an analysis settings file to the opened file, as
// the menus' Open commands do. --zoom TEXT then applies a zoom per-cent text as the custom zoom
// does. Two options serve scripts: --quit-when-shown
// ends the program as soon as the picture (the opened image, or the empty window) has been
// painted; --screenshot=PATH saves the main window as a picture at that moment and then ends the
// program. --show spectrum,profile,centroid (any of the keywords, comma-separated) opens those
// windows once the file is open and the other options applied; with --screenshot=s.png each
// other window shown is saved beside it as s-KEYWORD.png (s-spectrum.png).

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "KestrovaVersion.h"
#include "ProgramState.h"
#include "frmMainMenufrm.h"
#include "gFileWorkFolder.h"
#include "gFormConverterWait.h"
#include "gFormServices.h"
#include "gFormTermination.h"

namespace {

struct Options {
    // File names as the file system's bytes: a name need not be UTF-8.
    std::string file;
    std::string displaySettings;
    std::string analysisSettings;
    bool quitWhenShown = false;
    QString screenshot;
    QString zoom;
    QStringList show;  // window keywords
};

const char* const kDisplaySettingsOption = "display-settings";
const char* const kAnalysisSettingsOption = "analysis-settings";

// The file names of a command line the parser has accepted, taken from the raw arguments: the
// first positional argument and the values of the settings options.
void takeFileNames(int argc, char** argv, Options& options)
{
    const auto valueTaking = [](const std::string& name) {
        return name == "zoom" || name == "screenshot" || name == "show" || name == kDisplaySettingsOption ||
               name == kAnalysisSettingsOption;
    };
    bool positionalOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!positionalOnly && argument == "--") {
            positionalOnly = true;
            continue;
        }
        if (positionalOnly || argument.size() < 2 || argument[0] != '-') {
            if (options.file.empty())
                options.file = argument;
            continue;
        }
        const std::string option = argument.substr(argument.find_first_not_of('-'));
        const std::size_t equals = option.find('=');
        const std::string name = option.substr(0, equals);
        std::string value;
        if (equals != std::string::npos)
            value = option.substr(equals + 1);
        else if (valueTaking(name) && i + 1 < argc)
            value = argv[++i];
        if (name == kDisplaySettingsOption)
            options.displaySettings = value;
        else if (name == kAnalysisSettingsOption)
            options.analysisSettings = value;
    }
}

// Where the picture of a further window goes: "s.png" -> "s-spectrum.png".
QString windowScreenshotPath(const QString& path, const QWidget& window)
{
    QString key = kestrova::keywordOfWindow(window.objectName());
    if (key.isEmpty())
        key = window.objectName();
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : QStringLiteral(".") + file.suffix();
    return file.dir().filePath(file.completeBaseName() + u'-' + key + suffix);
}

// Saves the main window at `path` and every other window shown beside it; false when one fails.
bool saveScreenshots(QWidget& main, const QString& path)
{
    bool saved = main.grab().save(path);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &main && window->isVisible() && !window->objectName().isEmpty())
            saved = window->grab().save(windowScreenshotPath(path, *window)) && saved;
    }
    return saved;
}

// Reads the command line; --help, --version and a wrong option end the program here.
Options parseOptions(const QApplication& application, int argc, char** argv)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Views and analyses monochrome spectrometer images."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A .bmp, .fit, .fts, .fits or .pgm image to open."),
                                 QStringLiteral("[file]"));
    const QCommandLineOption zoom(QStringLiteral("zoom"),
                                  QStringLiteral("Zoom per-cent applied to the opened file, as the custom zoom does."),
                                  QStringLiteral("text"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window as a picture once it is shown, then end."),
                                        QStringLiteral("path"));
    const QCommandLineOption quitWhenShown(QStringLiteral("quit-when-shown"),
                                           QStringLiteral("End as soon as the picture has been shown."));
    const QCommandLineOption displaySettings(QString::fromLatin1(kDisplaySettingsOption),
                                             QStringLiteral("Display settings file applied to the opened file."),
                                             QStringLiteral("file"));
    const QCommandLineOption analysisSettings(QString::fromLatin1(kAnalysisSettingsOption),
                                              QStringLiteral("Analysis settings file applied to the opened file."),
                                              QStringLiteral("file"));
    const QCommandLineOption show(QStringLiteral("show"),
                                  QStringLiteral("Open these windows once the file is open: ") +
                                      kestrova::windowKeywords().join(u',') + QStringLiteral(" (comma-separated)."),
                                  QStringLiteral("windows"));
    parser.addOptions({displaySettings, analysisSettings, zoom, screenshot, quitWhenShown, show});
    parser.process(application);

    Options options;
    takeFileNames(argc, argv, options);
    options.zoom = parser.value(zoom);
    options.screenshot = parser.value(screenshot);
    options.quitWhenShown = parser.isSet(quitWhenShown);
    for (const QString& value : parser.values(show)) {
        for (const QString& keyword : value.split(u',', Qt::SkipEmptyParts)) {
            if (!kestrova::windowOfKeyword(keyword.trimmed())) {
                std::fprintf(stderr, "Unknown window for --show: %s (known: %s)\n", qPrintable(keyword.trimmed()),
                             qPrintable(kestrova::windowKeywords().join(u',')));
                std::exit(1);
            }
            options.show << keyword.trimmed();
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationVersion(QString::fromLatin1(kestrova::kVersionText));
    const Options options = parseOptions(application, argc, argv);

    const bool endWhenShown = options.quitWhenShown || !options.screenshot.isEmpty();
    if (endWhenShown) {
        // Nobody is there to dismiss a message box: messages go to standard error.
        kestrova::setMessageHandler([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    }
    // Temporary files live in a folder of this program's own, removed when it ends (also when a
    // signal ends it).
    kestrova::quitOnTerminationSignals();
    kestrova::Messages workFolderMessages;
    const kestrova::PrivateWorkFolder workFolder(workFolderMessages);
    auto state = std::make_unique<kestrova::ProgramState>();
    kestrova::frmMainMenufrm window(*state);
    if (!workFolder.path().empty())
        state->workFolder = workFolder.path();
    // The window stays responsive while a converter runs and offers to cancel it.
    kestrova::ConverterWaitDialog converterWait;
    kestrova::setConverterWaitObserver(&converterWait);
    window.show();
    kestrova::showMessages(workFolderMessages);

    int exitCode = 0;
    bool ended = false;
    const auto end = [&] {
        if (ended)
            return;
        ended = true;
        // Outside the paint that reported the picture.
        QTimer::singleShot(0, &application, [&] {
            if (!options.screenshot.isEmpty() && !saveScreenshots(window, options.screenshot))
                exitCode = 2;
            window.close();
        });
    };

    if (!options.file.empty()) {
        if (endWhenShown)
            QObject::connect(&window, &kestrova::frmMainMenufrm::imageShown, &application, end);
        QTimer::singleShot(0, &window, [&] {
            if (!window.OpenImageFileName(options.file)) {
                if (endWhenShown) {
                    exitCode = 1;
                    end();
                }
                return;
            }
            if (!options.displaySettings.empty())
                window.ApplyDisplaySettingsFile(options.displaySettings);
            if (!options.analysisSettings.empty())
                window.ApplyAnalysisSettingsFile(options.analysisSettings);
            if (!options.zoom.isEmpty())
                window.applyCustomZoom(options.zoom.toStdString());
            for (const QString& keyword : options.show) {
                if (!window.openWindow(QString::fromLatin1(kestrova::windowOfKeyword(keyword))))
                    std::fprintf(stderr, "The %s window was not opened.\n", qPrintable(keyword));
            }
        });
    } else if (endWhenShown) {
        // Nothing to open: end once the empty window has been painted.
        QTimer::singleShot(0, &window, [&] {
            window.repaint();
            end();
        });
    }

    const int code = QApplication::exec();
    kestrova::setConverterWaitObserver(nullptr);
    return exitCode != 0 ? exitCode : code;
}
