// mevko-editor: the editor's entry point.
//
//   mevko-editor [--config PATH] [--screenshot PNG] [FILE]
//
// --config reads and writes that config.ini instead of the default one;
// --screenshot saves the window as a PNG once the first frame is drawn and quits.
// Checks by hand: --command ID runs a command after start-up (repeatable), --play
// is --command 40026 (play from the first frame); --timing prints the time
// to the first drawn frame and, every 120 draws, the mean and worst canvas draw times.

#include "app/MainWnd.h"
#include "platform/qt/QtClipboard.h"
#include "project/Settings.h"
#include "ui/MainEditWnd.h"
#include "ui/QtFeedback.h"

#include <QApplication>
#include <QIcon>
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
            report("out of memory");
        } catch (const std::exception& e) {
            report(e.what());
        } catch (...) {
            report("unknown error");
        }
        return false;
    }

private:
    static void report(const char* reason)
    {
        std::fprintf(stderr, "mevko-editor: an action failed and was abandoned: %s\n", reason);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    cEditorApplication app(argc, argv);
    QApplication::setApplicationName("MevkoEditor");
    QApplication::setWindowIcon(QIcon(":/icons/mevko-editor.svg"));
    QApplication::setDesktopFileName("org.mevko.MevkoEditor");

    std::filesystem::path config = DefaultConfigPath();
    QString screenshot;
    bool timing = false;
    QList<int> commands;
    QStringList files;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--config" && i + 1 < args.size())
            config = std::filesystem::path(args[++i].toStdString());
        else if (args[i] == "--screenshot" && i + 1 < args.size())
            screenshot = args[++i];
        else if (args[i] == "--play")
            commands.push_back(IDM_PLAY_FIRST);
        else if (args[i] == "--command" && i + 1 < args.size())
            commands.push_back(args[++i].toInt());
        else if (args[i] == "--timing")
            timing = true;
        else
            files.push_back(args[i]);
    }

    platform::QtClipboard clipboard;
    platform::SetSystemClipboard(&clipboard);
    Settings().SetDefaults();

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
