// mevko-editor: the editor's entry point.
//
//   mevko-editor [--config FILE] [--lang ja|en] [--import VERSION] [--export VERSION]
//                [--save-as FILE] [FILE]
//
// --config reads and writes that config.ini instead of the default one; --lang
// chooses the interface language for this run (otherwise the Language setting, then
// the system locale). --import, --export and --save-as run the File menu's clipboard
// commands and Save As once the window is up (see app/StartupActions.h). --help and
// --version answer without a display.
// Checks by hand: --screenshot PNG saves the window once the first frame is drawn and
// quits; --command ID runs a command after start-up (repeatable), --play is
// --command 40026 (play from the first frame); --timing prints the time to the first
// drawn frame and, every 120 draws, the mean and worst canvas draw times.

#include "app/MainWnd.h"
#include "app/StartupActions.h"
#include "platform/qt/QtClipboard.h"
#include "project/Settings.h"
#include "ui/Language.h"
#include "ui/MainEditWnd.h"
#include "ui/QtFeedback.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QTimer>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>

namespace {

// No exception may cross Qt's event loop: one thrown by an event handler (out of
// memory included) is reported in one line and that event is dropped, so the editor
// and its unsaved work survive.
class cEditorApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            Report("out of memory");
        } catch (const std::exception& e) {
            Report(e.what());
        } catch (...) {
            Report("unknown error");
        }
        return false;
    }

private:
    static void Report(const char* reason)
    {
        std::fprintf(stderr, "mevko-editor: an action failed and was abandoned: %s\n", reason);
    }
};

// The command line's options; the checks by hand are left out of --help.
struct strCommandLine {
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};
    QCommandLineOption config{"config", "Read and write FILE instead of the default config.ini.", "FILE"};
    QCommandLineOption lang{"lang", "Interface language: ja (Japanese) or en (English).", "ja|en"};
    QCommandLineOption import{"import",
                              "Start with the animation RPG Maker VERSION placed on the clipboard, as File > "
                              "Import does (xp, vx and vxace each read any of those three).",
                              "VERSION"};
    QCommandLineOption exportTo{"export",
                                "Put the animation (FILE, or the imported one) on the clipboard for RPG Maker "
                                "VERSION, as File > Export does. VERSION: 2000, xp, vx, vxace, mv or mz.",
                                "VERSION"};
    QCommandLineOption saveAs{"save-as",
                              "Save the animation as FILE after the steps above and quit; exit code 1 when a step "
                              "failed (nothing is saved then).",
                              "FILE"};
    QCommandLineOption screenshot{"screenshot", "", "PNG"};
    QCommandLineOption play{"play", ""};
    QCommandLineOption command{"command", "", "ID"};
    QCommandLineOption timing{"timing", ""};
    QCommandLineParser parser;

    strCommandLine()
    {
        parser.setApplicationDescription("MevkoEditor: an editor for RPG Maker battle animations.");
        for (QCommandLineOption* hidden : {&screenshot, &play, &command, &timing})
            hidden->setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOptions({help, version, config, lang, import, exportTo, saveAs, screenshot, play, command, timing});
        parser.addPositionalArgument("FILE", "An animation to open.", "[FILE]");
    }
};

QString versionText() { return QString::asprintf("mevko-editor %1.2f", double(cSettings::kVersion)); }

// Answers --help and --version before a window system is needed. -1 to go on.
int answerWithoutDisplay(int argc, char** argv)
{
    QCoreApplication probe(argc, argv);
    strCommandLine line;
    // Errors are reported by the full parse, which also knows Qt's own options.
    line.parser.parse(QCoreApplication::arguments());
    if (line.parser.isSet(line.help)) {
        std::fputs(line.parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.parser.isSet(line.version)) {
        std::printf("%s\n", versionText().toLocal8Bit().constData());
        return 0;
    }
    return -1;
}

// The File menu command of --import or --export; false (reported) for an unknown version.
bool versionCommand(const QCommandLineParser& parser, const QCommandLineOption& option, bool importing, int& command)
{
    if (!parser.isSet(option))
        return true;
    const QString name = parser.value(option);
    int importCommand = 0, exportCommand = 0;
    if (!ClipboardCommandsOf(name, importCommand, exportCommand)) {
        std::fprintf(stderr, "mevko-editor: --%s takes 2000, xp, vx, vxace, mv or mz, not \"%s\"\n",
                     option.names().first().toLocal8Bit().constData(), name.toLocal8Bit().constData());
        return false;
    }
    command = importing ? importCommand : exportCommand;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (const int answered = answerWithoutDisplay(argc, argv); answered >= 0)
        return answered;
    cEditorApplication app(argc, argv);
    QApplication::setApplicationName("MevkoEditor");
    QApplication::setApplicationVersion(versionText());
    QApplication::setWindowIcon(QIcon(":/icons/mevko-editor.svg"));
    QApplication::setDesktopFileName("org.mevko.MevkoEditor");

    strCommandLine line;
    if (!line.parser.parse(QApplication::arguments())) {
        std::fprintf(stderr, "mevko-editor: %s\n", line.parser.errorText().toLocal8Bit().constData());
        return 2;
    }
    const QString lang = line.parser.value(line.lang);
    if (line.parser.isSet(line.lang) && lang != "ja" && lang != "en") {
        std::fprintf(stderr, "mevko-editor: --lang takes ja or en, not \"%s\"\n", lang.toLocal8Bit().constData());
        return 2;
    }
    const std::filesystem::path config = line.parser.isSet(line.config)
                                             ? std::filesystem::path(line.parser.value(line.config).toStdString())
                                             : DefaultConfigPath();
    strStartupActions actions;
    if (!versionCommand(line.parser, line.import, true, actions.importCommand) ||
        !versionCommand(line.parser, line.exportTo, false, actions.exportCommand))
        return 2;
    actions.saveAs = line.parser.value(line.saveAs);
    const QString screenshot = line.parser.value(line.screenshot);
    const bool timing = line.parser.isSet(line.timing);
    QList<int> commands;
    if (line.parser.isSet(line.play))
        commands.push_back(IDM_PLAY_FIRST);
    for (const QString& id : line.parser.values(line.command))
        commands.push_back(id.toInt());
    QStringList files = line.parser.positionalArguments();
    // With batch steps the file is opened as their first step, so a failure is seen.
    if (actions.Any() && !files.isEmpty())
        actions.open = files.takeFirst();

    platform::QtClipboard clipboard;
    platform::SetSystemClipboard(&clipboard);
    Settings().SetDefaults();
    // The window reads config.ini itself; the language must be known before it is built.
    cSettings stored;
    stored.ReadSettings(config);
    if (!LoadLanguage(ChooseLanguage(lang.isEmpty() ? stored.Language : lang.toStdString(), QLocale::system())))
        std::fprintf(stderr, "mevko-editor: the translation of the interface could not be loaded\n");

    int code = -1;
    {
        cMainWnd window(config);
        QString error;
        if (!window.Initialize(files, error)) {
            std::fprintf(stderr, "%s", error.toUtf8().constData());
            ErrorBox(error);
            platform::SetSystemClipboard(nullptr);
            return -1;
        }
        window.ShowPlaced();
        int draws = 0;
        double total = 0, worst = 0;
        if (timing) {
            window.Canvas()->onDrawn = [&](double ms) {
                if (draws++ == 0)
                    std::fprintf(stderr, "first frame drawn after %lld ms\n", (long long)sinceStart.elapsed());
                total += ms;
                worst = std::max(worst, ms);
                if (draws % 120 == 0)
                    std::fprintf(stderr, "%d draws, mean %.3f ms, worst %.3f ms; %ld ticks after %lld ms\n", draws,
                                 total / draws, worst, window.Canvas()->TickCount(), (long long)sinceStart.elapsed());
            };
        }
        if (actions.Any())
            QMetaObject::invokeMethod(
                &window,
                [&window, &actions] {
                    if (const int exitCode = RunStartupActions(window, actions); exitCode >= 0)
                        QCoreApplication::exit(exitCode);
                },
                Qt::QueuedConnection);
        for (int id : commands)
            QTimer::singleShot(300, &window, [&window, id] { window.OnCommand(id); });
        if (!screenshot.isEmpty()) {
            // Give the queued command-line open and the first paint a moment.
            QTimer::singleShot(700, &window, [&window, screenshot] {
                window.grab().save(screenshot);
                window.close();
            });
        }
        code = app.exec();
    }
    platform::SetSystemClipboard(nullptr);
    return code;
}
