// The effect, picture and export dialogs' rules: what the controls show, how
// they are written back, the enabling rule and the flash preview colour.

#include "support/EditFixture.h"

#include "export/CaptureImage.h"
#include "view/DialogEffect.h"
#include "view/DialogExport.h"

namespace {

class DialogEffectTest : public EditTest {};

strEffect fullEffect()
{
    strEffect e;
    e.frame = 4;
    e.flags = EF_FLASH | EF_SOUND | EF_NOTE;
    e.flashDuration = 20;
    e.flashScope = 1;
    e.flashBlend = 3;
    e.flashRed = 10, e.flashGreen = 20, e.flashBlue = 30, e.flashStrength = 40;
    e.seVolume = 50, e.sePitch = 150, e.seBalance = 0;
    e.seName = "Audio\\hit.ogg";
    e.note = "HIT";
    return e;
}

TEST_F(DialogEffectTest, FormRoundTripsAFullEffect)
{
    const strEffect e = fullEffect();
    strEffect out;
    strEffectForm::From(e).ApplyTo(out);
    EXPECT_EQ(out, e);
}

TEST_F(DialogEffectTest, EffectWithoutFlashShowsLengthTenAndKeepsTheFlashOff)
{
    strEffect e;
    e.flags = EF_SOUND;
    e.seName = "a.wav";
    const strEffectForm f = strEffectForm::From(e);
    EXPECT_FALSE(f.flash);
    EXPECT_EQ(f.duration, 10);
    const strEffectEnabling en = EffectEnabling(f);
    EXPECT_TRUE(en.sound);
    EXPECT_FALSE(en.flash);
    EXPECT_FALSE(en.flashColour);
}

TEST_F(DialogEffectTest, HideTargetStoresTheNeutralColourWhateverTheRowsShow)
{
    strEffectForm f = strEffectForm::From(fullEffect());
    f.scope = 2;
    EXPECT_TRUE(EffectEnabling(f).flash);
    EXPECT_FALSE(EffectEnabling(f).flashColour);
    strEffect out = fullEffect();
    f.ApplyTo(out);
    EXPECT_EQ(out.flashScope, 2);
    EXPECT_EQ(out.flashBlend, 0);
    EXPECT_EQ(out.flashRed, 128);
    EXPECT_EQ(out.flashGreen, 128);
    EXPECT_EQ(out.flashBlue, 128);
    EXPECT_EQ(out.flashStrength, 255);
    EXPECT_EQ(out.flashDuration, 20);
}

TEST_F(DialogEffectTest, UntickedGroupsReturnToTheirDefaults)
{
    strEffectForm f = strEffectForm::From(fullEffect());
    f.sound = f.flash = f.note = false;
    strEffect out = fullEffect();
    f.ApplyTo(out);
    strEffect expected;
    expected.frame = 4;
    EXPECT_EQ(out, expected);
}

TEST_F(DialogEffectTest, ValuesOutsideTheRowsAreClamped)
{
    strEffectForm f;
    f.sound = true;
    f.volume = 0, f.pitch = 900, f.balance = -3;
    f.flash = true;
    f.duration = 999, f.blend = 9, f.red = 300, f.strength = -1;
    f.seName = std::string(400, 'a');
    strEffect out;
    f.ApplyTo(out);
    EXPECT_EQ(out.seVolume, 1);
    EXPECT_EQ(out.sePitch, 200);
    EXPECT_EQ(out.seBalance, 0);
    EXPECT_EQ(out.flashDuration, 255);
    EXPECT_EQ(out.flashBlend, 4);
    EXPECT_EQ(out.flashRed, 255);
    EXPECT_EQ(out.flashStrength, 0);
    EXPECT_EQ(out.seName.size(), 255u);
}

TEST_F(DialogEffectTest, PreviewColourCompositesTheFlashOverTheGround)
{
    strEffectForm f;
    f.red = 255, f.green = 0, f.blue = 0;
    f.strength = 255;
    f.blend = 0;
    EXPECT_EQ(FlashPreviewColour(f, 0x000000), 0xFF0000u) << "normal, full strength";
    f.strength = 0;
    EXPECT_EQ(FlashPreviewColour(f, 0x123456), 0x123456u) << "no strength leaves the ground";
    f.strength = 255;
    f.blend = 1;
    EXPECT_EQ(FlashPreviewColour(f, 0x0000FF), 0xFF00FFu) << "add";
}

TEST_F(DialogEffectTest, PictureFormShowsTheDivisionFormatAndNeverWritesIt)
{
    p.SetValue(AI_DIVISION_FORMAT, 1);
    strPicture pic;
    pic.divX = 5, pic.divY = 2, pic.hue = 90;
    pic.path = "a\\b.png";
    strPictureForm f = strPictureForm::From(pic, p);
    EXPECT_EQ(f.divisionFormat, 1);
    f.divX = 0;
    f.divY = 5000;
    f.hue = 400;
    f.divisionFormat = 0;
    strPicture out;
    f.ApplyTo(out);
    EXPECT_EQ(out.divX, 1);
    EXPECT_EQ(out.divY, 1024);
    EXPECT_EQ(out.hue, 360);
    EXPECT_EQ(out.path, "a\\b.png");
    EXPECT_EQ(p.GetValue(AI_DIVISION_FORMAT), 1);
}

TEST_F(DialogEffectTest, DroppedFilesBelowTheWorkFolderBecomeRelative)
{
    p.SetText(AT_WORK_FOLDER, "C:\\game\\Data");
    EXPECT_EQ(DroppedFilePath(p, "C:\\game\\Data\\Sound\\a.wav"), "Sound\\a.wav");
    EXPECT_EQ(DroppedFilePath(p, "D:\\other\\a.wav"), "D:\\other\\a.wav");
}

TEST_F(DialogEffectTest, ExportFlagsAndCropFields)
{
    strExportForm f;
    f.interval = f.alpha = true;
    f.fixRows = f.orderN = true;
    EXPECT_EQ(f.PngFlags(), kCapturePng | kCaptureInterval | kCaptureAlpha) << "layout only when combining";
    f.combine = true;
    EXPECT_EQ(f.PngFlags(),
              kCapturePng | kCaptureInterval | kCaptureAlpha | kCaptureCombine | kCaptureFixRows | kCaptureOrderN);
    f.sixHundredths = f.flash = f.target = true;
    EXPECT_EQ(f.GifFlags(), kCaptureGif | kCaptureAlpha | kCaptureSixHundredths | kCaptureFlash | kCaptureTarget);

    f.SetRect({30, 40, -10, 0});
    EXPECT_EQ(f.width, -40);
    EXPECT_EQ(f.height, -40);
    const strCaptureRect r = f.Rect();
    EXPECT_EQ(r.right, -10);
    EXPECT_EQ(r.bottom, 0);

    p.SetText(AT_FILE_NAME, "anim.dat");
    EXPECT_EQ(ProposedExportName(p, ".png"), "anim.png");
    p.SetText(AT_FILE_NAME, "");
    EXPECT_EQ(ProposedExportName(p, ".gif"), "");
}

} // namespace
