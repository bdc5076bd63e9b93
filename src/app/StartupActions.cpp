#include "app/StartupActions.h"

#include "app/MainWnd.h"
#include "platform/Paths.h"

#include <QLabel>

#include <cstdio>
#include <filesystem>

namespace {

std::string modelPath(const QString& diskPath)
{
    return paths::FromDiskPath(std::filesystem::path(diskPath.toStdString()));
}

// Prints the failed step with the reason the status bar gives.
bool report(cMainWnd& window, const char* step)
{
    std::fprintf(stderr, "mevko-editor: %s failed: %s\n", step, window.StatusPart(0)->text().toLocal8Bit().constData());
    return false;
}

bool runSteps(cMainWnd& window, const strStartupActions& actions)
{
    if (!actions.open.isEmpty() && !window.Document().FileCommand(IDM_OPEN_PATH, modelPath(actions.open)))
        return report(window, "open");
    bool done = false;
    if (actions.importCommand && (!window.ClipboardCommand(actions.importCommand, &done) || !done))
        return report(window, "--import");
    if (actions.exportCommand && (!window.ClipboardCommand(actions.exportCommand, &done) || !done))
        return report(window, "--export");
    if (!actions.saveAs.isEmpty() && !window.Document().SaveAsPath(modelPath(actions.saveAs)))
        return report(window, "--save-as");
    return true;
}

} // namespace

bool ClipboardCommandsOf(const QString& version, int& importCommand, int& exportCommand)
{
    const struct {
        const char* name;
        int importCommand, exportCommand;
    } versions[] = {
        {"2000", IDM_IMPORT_2000, IDM_EXPORT_2000}, {"xp", IDM_IMPORT_RUBY, IDM_EXPORT_XP},
        {"vx", IDM_IMPORT_RUBY, IDM_EXPORT_VX},     {"vxace", IDM_IMPORT_RUBY, IDM_EXPORT_VXACE},
        {"mv", IDM_IMPORT_MV, IDM_EXPORT_MV},       {"mz", IDM_IMPORT_MV, IDM_EXPORT_MZ},
    };
    for (const auto& v : versions)
        if (version == QLatin1String(v.name)) {
            importCommand = v.importCommand;
            exportCommand = v.exportCommand;
            return true;
        }
    return false;
}

int RunStartupActions(cMainWnd& window, const strStartupActions& actions)
{
    const bool worked = runSteps(window, actions);
    if (actions.saveAs.isEmpty())
        return -1;
    return worked ? 0 : 1;
}
