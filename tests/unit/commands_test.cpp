#include <gtest/gtest.h>

#include <algorithm>

#include "control/command_ids.h"
#include "control/commands.h"
#include "control/menu_marks.h"

namespace {

bool isChecked(const AppSettings& s, int id) {
    const auto ids = checkedMenuItems(s);
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

TEST(Commands, TogglesFlipAnyNonZeroValueAndSave) {
    AppSettings s;
    CommandOutcome o = runCommand(s, IDM_TOPMOST);
    EXPECT_FALSE(s.topmost);
    EXPECT_EQ(o.action, ShellAction::ApplyZOrder);
    EXPECT_TRUE(o.save);
    EXPECT_FALSE(o.redraw);
    runCommand(s, IDM_TOPMOST);
    EXPECT_TRUE(s.topmost);

    o = runCommand(s, IDM_CLICKTHRU);
    EXPECT_FALSE(s.clickthru);
    EXPECT_EQ(o.action, ShellAction::ShowNoActivate);

    o = runCommand(s, IDM_SHADOW);
    EXPECT_TRUE(s.shadow);
    EXPECT_TRUE(o.redraw);
    o = runCommand(s, IDM_AA);
    EXPECT_TRUE(s.aa);
    EXPECT_TRUE(o.redraw && o.save);
}

TEST(Commands, PresetsAssignTheirMenuValues) {
    AppSettings s;
    const std::pair<int, int> alphas[] = {{IDM_ALPHA_40, 102}, {IDM_ALPHA_60, 153}, {IDM_ALPHA_80, 204}, {IDM_ALPHA_100, 255}};
    for (auto [id, alpha] : alphas) {
        const CommandOutcome o = runCommand(s, id);
        EXPECT_EQ(s.alpha, alpha);
        EXPECT_EQ(o.action, ShellAction::ApplyOpacity);
        EXPECT_TRUE(o.save && o.redraw);
    }
    CommandOutcome o = runCommand(s, IDM_STYLE_OUTLINE);
    EXPECT_EQ(s.style, 2);
    runCommand(s, IDM_STYLE_TEXT);
    EXPECT_EQ(s.style, 0);
    // A change of render mode takes effect at once: the window is set up anew and repainted.
    o = runCommand(s, IDM_RENDER_PERPIXEL);
    EXPECT_EQ(s.rendermode, 1);
    EXPECT_EQ(o.action, ShellAction::ApplyFrameMode);
    EXPECT_TRUE(o.save && o.redraw);
    o = runCommand(s, IDM_RENDER_COLORKEY);
    EXPECT_EQ(s.rendermode, 0);
    EXPECT_EQ(o.action, ShellAction::ApplyFrameMode);
    o = runCommand(s, IDM_SOUND_ON);
    EXPECT_TRUE(s.soundOn);
    EXPECT_FALSE(o.redraw);
    runCommand(s, IDM_SOUND_3);
    EXPECT_EQ(s.soundSel, 3);
}

TEST(Commands, ScalePresetsApplyEvenWhenUnchanged) {
    AppSettings s;
    const CommandOutcome o = runCommand(s, IDM_SCALE_100);
    EXPECT_EQ(s.scale, 1.0);
    EXPECT_EQ(o.action, ShellAction::ApplyScale);
    EXPECT_TRUE(o.save);
    runCommand(s, IDM_SCALE_080);
    EXPECT_EQ(s.scale, 0.8);
    runCommand(s, IDM_SCALE_150);
    EXPECT_EQ(s.scale, 1.5);
}

TEST(Commands, ResetColoursTouchesOnlyTheSevenColours) {
    AppSettings s;
    s.colors.fillA = 0x123456;
    s.colors.shadowColor = 0;
    s.alpha = 102;
    s.scale = 2.0;
    const CommandOutcome o = runCommand(s, IDM_COLOR_RESET);
    EXPECT_EQ(s.colors, KeyColors{});
    EXPECT_EQ(s.alpha, 102);
    EXPECT_EQ(s.scale, 2.0);
    EXPECT_TRUE(o.save && o.redraw);
}

TEST(Commands, ColourCommandsPointAtTheirFieldAndSaveNothingYet) {
    AppSettings s;
    const std::pair<int, Color*> fields[] = {
        {IDM_COLOR_TEXT, &s.colors.textN}, {IDM_COLOR_TEXT_PRESSED, &s.colors.textA},
        {IDM_COLOR_FILL, &s.colors.fillN}, {IDM_COLOR_FILL_PRESSED, &s.colors.fillA},
        {IDM_COLOR_LINE, &s.colors.lineN}, {IDM_COLOR_LINE_PRESSED, &s.colors.lineA},
        {IDM_COLOR_SHADOW, &s.colors.shadowColor}};
    for (auto [id, field] : fields) {
        const CommandOutcome o = runCommand(s, id);
        EXPECT_EQ(o.action, ShellAction::ChooseColor);
        EXPECT_EQ(o.colorField, field);
        EXPECT_FALSE(o.save || o.redraw);
    }
}

TEST(Commands, AutoMuteMutesOrRestoresOnlyWhenTheStateDisagrees) {
    AppSettings s;
    EXPECT_EQ(runCommand(s, IDM_AUTOMUTE).action, ShellAction::MuteSystemSounds);
    EXPECT_TRUE(s.autoMuteSys);
    s.sysSoundsMuted = true;
    EXPECT_EQ(runCommand(s, IDM_AUTOMUTE).action, ShellAction::RestoreSystemSounds);
    EXPECT_FALSE(s.autoMuteSys);

    // Off but still muted (a backup left by this run): turning it on mutes nothing further.
    AppSettings muted;
    muted.sysSoundsMuted = true;
    const CommandOutcome o = runCommand(muted, IDM_AUTOMUTE);
    EXPECT_EQ(o.action, ShellAction::None);
    EXPECT_TRUE(muted.autoMuteSys);
    EXPECT_TRUE(o.save);
}

TEST(Commands, ExitDialogsAndUnknownIds) {
    AppSettings s;
    EXPECT_EQ(runCommand(s, IDM_EXIT).action, ShellAction::Exit);
    EXPECT_EQ(runCommand(s, IDM_SCALE_INPUT).action, ShellAction::OpenScaleDialog);
    const CommandOutcome contact = runCommand(s, IDM_CONTACT);
    EXPECT_EQ(contact.action, ShellAction::ShowContact);
    EXPECT_FALSE(contact.save);
    EXPECT_FALSE(runCommand(s, 40005).known);
    EXPECT_FALSE(runCommand(s, 0).known);
}

TEST(MenuMarks, DefaultsMarkTheirItems) {
    const AppSettings s;
    const std::vector<int> expected = {IDM_TOPMOST, IDM_CLICKTHRU,  IDM_ALPHA_80, IDM_STYLE_KEY,
                                       IDM_RENDER_COLORKEY, IDM_SOUND_OFF, IDM_SOUND_1, IDM_LAYOUT_COMPACT};
    EXPECT_EQ(checkedMenuItems(s), expected);
}

TEST(MenuMarks, TheKeyboardShownIsMarked) {
    AppSettings s;
    s.layout = LAYOUT_FULL;
    EXPECT_EQ(checkedMenuItems(s).back(), IDM_LAYOUT_FULL);
    s.layout = 7;  // shown as the compact keys
    EXPECT_EQ(checkedMenuItems(s).back(), IDM_LAYOUT_COMPACT);
}

TEST(Commands, AKeyboardChoiceResizesTheWindowAndSaves) {
    AppSettings s;
    for (auto [id, layout] : {std::pair{IDM_LAYOUT_FULL, LAYOUT_FULL}, {IDM_LAYOUT_COMPACT, LAYOUT_COMPACT}}) {
        const CommandOutcome o = runCommand(s, id);
        EXPECT_EQ(s.layout, layout);
        EXPECT_EQ(o.action, ShellAction::ApplyLayout);
        EXPECT_TRUE(o.save);
        EXPECT_FALSE(o.redraw);  // the resize repaints everything
    }
}

TEST(MenuMarks, OffPresetAlphaMarksTheNextPresetAtOrAbove) {
    AppSettings s;
    const std::pair<int, int> cases[] = {{0, IDM_ALPHA_40},   {102, IDM_ALPHA_40}, {103, IDM_ALPHA_60},
                                         {153, IDM_ALPHA_60}, {154, IDM_ALPHA_80}, {204, IDM_ALPHA_80},
                                         {205, IDM_ALPHA_100}, {255, IDM_ALPHA_100}};
    for (auto [alpha, id] : cases) {
        s.alpha = static_cast<unsigned char>(alpha);
        const auto ids = checkedMenuItems(s);
        EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](int i) { return i >= IDM_ALPHA_40 && i <= IDM_ALPHA_100; }), 1);
        EXPECT_TRUE(isChecked(s, id)) << alpha;
    }
}

TEST(MenuMarks, OutOfMenuValuesMarkTheLastItemOfTheirGroup) {
    AppSettings s;
    s.style = 7;
    s.soundSel = -4;
    s.rendermode = 9;
    s.soundOn = true;
    EXPECT_TRUE(isChecked(s, IDM_STYLE_OUTLINE));
    EXPECT_TRUE(isChecked(s, IDM_SOUND_3));
    EXPECT_TRUE(isChecked(s, IDM_RENDER_PERPIXEL));
    EXPECT_TRUE(isChecked(s, IDM_SOUND_ON));
    EXPECT_FALSE(isChecked(s, IDM_SOUND_OFF));
}

TEST(MenuMarks, AutoMuteIsCheckedWhileMutedEvenWhenTheSettingIsOff) {
    AppSettings s;
    EXPECT_FALSE(isChecked(s, IDM_AUTOMUTE));
    s.sysSoundsMuted = true;
    EXPECT_TRUE(isChecked(s, IDM_AUTOMUTE));
    s.sysSoundsMuted = false;
    s.autoMuteSys = true;
    EXPECT_TRUE(isChecked(s, IDM_AUTOMUTE));
    s.topmost = false;
    s.clickthru = false;
    EXPECT_FALSE(isChecked(s, IDM_TOPMOST));
    EXPECT_FALSE(isChecked(s, IDM_CLICKTHRU));
}
