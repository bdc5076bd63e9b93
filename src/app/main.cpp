// mevko-editor: the editor's entry point.
//
//   mevko-editor [--config PATH] [--screenshot PNG] [FILE]
//
// --config reads and writes that config.ini instead of the default one;
// --screenshot saves the window as a PNG once the first frame is drawn and quits.

#include "app/MainWnd.h"
#include "platform/qt/QtClipboard.h"
#include "project/Settings.h"
#include "ui/MainEditWnd.h"
#include "ui/QtFeedback.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("MevkoEditor");

    std::filesystem::path config = DefaultConfigPath();
    QString screenshot;
    QStringList files;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--config" && i + 1 < args.size())
            config = std::filesystem::path(args[++i].toStdString());
        else if (args[i] == "--screenshot" && i + 1 < args.size())
            screenshot = args[++i];
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
        window.show();
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
