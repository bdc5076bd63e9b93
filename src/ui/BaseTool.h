#pragma once
// cBaseTool: a tool bar built from a button table. Each button sends its command
// to the main window through `send`; tips come from one comma-separated string
// (separators get none); a separator with a width leaves a gap that the subclass
// fills with small controls. Button images are named SVG icons, indexed by `image`.

#include <QToolBar>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QActionGroup;

enum eToolStyle { TB_PUSH, TB_CHECK, TB_CHECKGROUP, TB_SEP };

struct strToolButton {
    int image; // image index; for a separator its width in pixels (0 = default)
    int command;
    eToolStyle style;
};

class cBaseTool : public QToolBar {
    Q_OBJECT
public:
    cBaseTool(int controlId, int tipsId, std::vector<strToolButton> buttons, std::vector<QString> icons);

    /** Builds the buttons and tips, then OnCreate; false when the table is unusable. */
    virtual bool CreateTool(QWidget* parent, std::function<void(int)> send);
    virtual void OnCreate() {}

    void SetChecked(int command, bool checked);
    bool IsChecked(int command) const;
    QAction* ActionOf(int command) const;
    /** The gap widget of button index i (a separator with a width), or null. */
    QWidget* Gap(int index) const;

protected:
    std::function<void(int)> send_;

private:
    int controlId_, tipsId_;
    std::vector<strToolButton> buttons_;
    std::vector<QString> icons_;
    std::map<int, QAction*> actions_;
    std::map<int, QWidget*> gaps_;
    QActionGroup* group_ = nullptr;
};

/** The tool-bar icon of that name (resources/icons/NAME.svg); a null icon when there is none. */
QIcon ToolIcon(const QString& name);
