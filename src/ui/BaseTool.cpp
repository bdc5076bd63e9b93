#include "ui/BaseTool.h"

#include "platform/Strings.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>

QIcon ToolIcon(const QString& name)
{
    // SVG through Qt's icon engine, so the buttons stay sharp at any device pixel ratio.
    const QString path = ":/icons/" + name + ".svg";
    return !name.isEmpty() && QFile::exists(path) ? QIcon(path) : QIcon();
}

cBaseTool::cBaseTool(int controlId, int tipsId, std::vector<strToolButton> buttons, std::vector<QString> icons)
    : controlId_(controlId), tipsId_(tipsId), buttons_(std::move(buttons)), icons_(std::move(icons))
{
    setObjectName(QString::number(controlId));
    setIconSize(QSize(16, 15));
    setMovable(false);
}

bool cBaseTool::CreateTool(QWidget* parent, std::function<void(int)> send)
{
    if (buttons_.empty())
        return false;
    setParent(parent);
    send_ = std::move(send);
    const std::vector<std::string> tips = tipsId_ ? platform::StringItems(tipsId_) : std::vector<std::string>();
    size_t tip = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const strToolButton& b = buttons_[i];
        if (b.style == TB_SEP) {
            if (b.image > 0) {
                auto* gap = new QWidget(this);
                gap->setFixedWidth(b.image);
                addWidget(gap);
                gaps_[int(i)] = gap;
            } else {
                addSeparator();
            }
            continue;
        }
        const QString icon = b.image >= 0 && size_t(b.image) < icons_.size() ? icons_[b.image] : QString();
        QAction* action = addAction(ToolIcon(icon), QString());
        if (tip < tips.size())
            action->setToolTip(QString::fromStdString(tips[tip]));
        ++tip;
        action->setData(b.command);
        if (b.style != TB_PUSH)
            action->setCheckable(true);
        if (b.style == TB_CHECKGROUP) {
            if (!group_)
                group_ = new QActionGroup(this);
            group_->addAction(action);
        }
        const int command = b.command;
        connect(action, &QAction::triggered, this, [this, command] {
            if (send_)
                send_(command);
        });
        actions_[command] = action;
    }
    OnCreate();
    return true;
}

QAction* cBaseTool::ActionOf(int command) const
{
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void cBaseTool::SetChecked(int command, bool checked)
{
    if (QAction* a = ActionOf(command)) {
        const bool blocked = a->blockSignals(true);
        a->setChecked(checked);
        a->blockSignals(blocked);
    }
}

bool cBaseTool::IsChecked(int command) const
{
    QAction* a = ActionOf(command);
    return a && a->isChecked();
}

QWidget* cBaseTool::Gap(int index) const
{
    auto it = gaps_.find(index);
    return it == gaps_.end() ? nullptr : it->second;
}
