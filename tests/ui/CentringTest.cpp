// The arithmetic that places the windows, the twip conversion, and the small
// conversions between Qt's controls and the edit.

#include "ui/Controls.h"
#include "ui/QtPorts.h"
#include "ui/WindowLook.h"

#include <gtest/gtest.h>

namespace vistrel::ui {
namespace {

TEST(Centring, PlacesTheWindowByTruncatedHalves) {
    // A 15360 × 11520 twip screen and a window of 10875 × 5145 twips outside.
    EXPECT_EQ(centredOffset(15360, 10875), 2242);
    EXPECT_EQ(centredOffset(11520, 5145), 3187);
}

TEST(Centring, RoundsHalvesToTheEvenNeighbourBeforeHalving) {
    EXPECT_EQ(centredOffset(4485.5, 0), 2243);   // 4486 / 2
    EXPECT_EQ(centredOffset(4486.5, 0), 2243);   // 4486 / 2
    EXPECT_EQ(centredOffset(4484.5, 0), 2242);   // 4484 / 2
    EXPECT_EQ(centredOffset(4484.51, 0), 2242);  // 4485 / 2
}

TEST(Centring, AWindowLargerThanTheScreenGoesNegativeTruncatedTowardZero) {
    EXPECT_EQ(centredOffset(600, 725), -62);    // -125 / 2
    EXPECT_EQ(centredOffset(600, 725.5), -63);  // -125.5 rounds to -126
    EXPECT_EQ(centredOffset(600, 724.5), -62);  // -124.5 rounds to -124
    EXPECT_EQ(centredOffset(0, 1), 0);          // -1 / 2
}

TEST(Centring, HugeDifferencesAreHeldAtThirtyTwoBits) {
    EXPECT_EQ(centredOffset(1e12, 0), 2147483647 / 2);
    EXPECT_EQ(centredOffset(-1e12, 0), -1073741824);
}

TEST(Twips, FifteenMakeOnePixelRoundedToTheNearest) {
    EXPECT_EQ(pixelsFromTwips(10755), 717);
    EXPECT_EQ(pixelsFromTwips(4740), 316);
    EXPECT_EQ(pixelsFromTwips(22), 1);
    EXPECT_EQ(pixelsFromTwips(23), 2);
    EXPECT_EQ(pixelRect({1080, 3960, 1095, 375}), QRect(72, 264, 73, 25));
}

TEST(CheckBoxValue, TickedIsOneNotQtsTwo) {
    EXPECT_EQ(checkValueOf(Qt::Checked), model::CheckValue::Ticked);
    EXPECT_EQ(checkValueOf(Qt::Unchecked), model::CheckValue::Unticked);
    EXPECT_EQ(checkValueOf(Qt::PartiallyChecked), model::CheckValue::Greyed);
}

TEST(FileDialogFilter, PatternListsBecomeQtFilters) {
    EXPECT_EQ(qtNameFilter("AVI/AVS files|*.avi;*.avs"), QStringLiteral("AVI/AVS files (*.avi *.avs)"));
    EXPECT_EQ(qtNameFilter("AVISynth script|*.avs"), QStringLiteral("AVISynth script (*.avs)"));
    EXPECT_EQ(qtNameFilter("Clips|*.avi|Scripts|*.avs"), QStringLiteral("Clips (*.avi);;Scripts (*.avs)"));
}

}  // namespace
}  // namespace vistrel::ui
