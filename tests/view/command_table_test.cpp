// The command table: menu ids, accelerators, texts and the menu state rules.

#include "playback/AnimePlayer.h"
#include "project/Settings.h"
#include "view/CommandTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

TEST(CommandTable, MenuIdsAreUniqueExceptSharedNumbersAndEveryAcceleratorHasAnItemOrIsKnown)
{
    std::multiset<int> ids;
    std::function<void(const std::vector<strMenuEntry>&)> walk = [&](const std::vector<strMenuEntry>& entries) {
        for (const strMenuEntry& e : entries) {
            if (e.id)
                ids.insert(e.id);
            walk(e.children);
        }
    };
    walk(MainMenu());
    EXPECT_EQ(MainMenu().size(), 6u);
    for (int id : ids)
        EXPECT_EQ(ids.count(id), 1u) << id;
    const std::set<int> withoutItem = {IDM_CELL_DIALOG, IDM_SEND_BACKWARD, IDM_BRING_FORWARD};
    for (const strAccelerator& a : MainAccelerators())
        EXPECT_TRUE(ids.count(a.command) || withoutItem.count(a.command)) << a.command;
    EXPECT_EQ(MenuText(IDM_OPT_LOOP), "繰り返し(&L)");
    EXPECT_EQ(MenuText(IDM_IMPORT_RUBY), "RPGツクールXP / VX / VX Ace(&X)");
    EXPECT_EQ(AcceleratorText(IDM_SAVE), "Ctrl+S");
    EXPECT_EQ(AcceleratorText(IDM_FROM_NEXT), "Ctrl+.");
}

TEST(CommandTable, MenuStateRules)
{
    strMenuContext c;
    c.untitled = false;
    c.playBit = PF_LOOP | PF_FLASH;
    c.clipRuby = true;
    c.fixPicturePerCell = true;
    cSettings settings;
    c.settings = &settings;
    const struct {
        int id;
        bool enabled, checked;
    } rows[] = {
        {IDM_SAVE, true, false},       {IDM_IMPORT_2000, false, false}, {IDM_IMPORT_RUBY, true, false},
        {IDM_IMPORT_MV, false, false}, {IDM_UNDO, false, false},        {IDM_CUT, false, false},
        {IDM_PASTE, false, false},     {IDM_OPT_LOOP, true, true},      {IDM_OPT_BOUNCE, true, false},
        {IDM_OPT_FLASH, true, true},   {IDM_EXPORT_2003, false, false}, {IDM_HELP, false, false},
        {IDM_VIEW_STATUS, true, true}, {IDM_NEW, true, false},
    };
    for (const auto& r : rows) {
        const strItemState s = MenuStateOf(r.id, c);
        EXPECT_EQ(s.enabled, r.enabled) << r.id;
        EXPECT_EQ(s.checked, r.checked) << r.id;
    }
    c.untitled = true;
    c.canRedo = c.cellSelected = c.clipCells = true;
    EXPECT_FALSE(MenuStateOf(IDM_SAVE, c).enabled);
    EXPECT_TRUE(MenuStateOf(IDM_REDO, c).enabled);
    EXPECT_TRUE(MenuStateOf(IDM_COPY, c).enabled);
    EXPECT_TRUE(MenuStateOf(IDM_PASTE, c).enabled);
    EXPECT_TRUE(HandledDuringPlayback(IDM_OPT_LOOP));
    EXPECT_FALSE(HandledDuringPlayback(IDM_NEXT_FRAME));
}

TEST(CommandTable, EveryMenuItemAndKeyRunsACommandButTheDisabledOnes)
{
    cSettings settings;
    std::function<void(const std::vector<strMenuEntry>&)> walk = [&](const std::vector<strMenuEntry>& entries) {
        for (const strMenuEntry& e : entries) {
            walk(e.children);
            if (e.id == 0 || e.id == IDM_RECENT)
                continue;
            const strCommandEntry* command = FindCommand(e.id);
            ASSERT_NE(command, nullptr) << e.id;
            EXPECT_EQ(command->run == nullptr, e.disabled && e.id != IDM_HELP) << e.id;
            EXPECT_EQ(AlwaysDisabled(e.id), e.disabled && e.id != IDM_HELP) << e.id;
            // Toggling items are exactly those with a flag or a playback option behind them.
            EXPECT_EQ(command->checked != nullptr, PlayOptionBit(e.id) != 0 || ToggleFlagOf(settings, e.id) != nullptr)
                << e.id;
        }
    };
    walk(MainMenu());
    for (const strAccelerator& a : MainAccelerators())
        EXPECT_TRUE(FindCommand(a.command) && FindCommand(a.command)->run) << a.command;
    for (const char* popup : {"MENU_EDIT1"})
        for (const strMenuEntry& e : PopupMenu(popup))
            EXPECT_TRUE(e.id == 0 || FindCommand(e.id)) << e.id;

    EXPECT_EQ(FindCommand(IDM_RECENT_FIRST + 7), FindCommand(IDM_RECENT_FIRST));
    EXPECT_EQ(FindCommand(IDM_RECENT_FIRST + 8), nullptr);
    EXPECT_EQ(FindCommand(IDM_RECENT), nullptr);
}
