#include "tests/components/Fixture.h"

#include "components/ExtPage.h"

#include "platform/vcl/Graphics.h"

#include <QImage>

#include <algorithm>

using namespace vcl;
using namespace components;

namespace {

uint32_t Rgb(TColor c) {
    uint32_t bgr = ColorToRGB(c);
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

struct ExtPageTest : ComponentsTest {
    ExtPageTest() {
        Pages = new TExtPageControl(Form);
        Pages->SetParent(Form);
        Pages->SetBounds(0, 0, 360, 200);
        for (const char* caption : {"条件", "选项", "排程"}) {
            auto* sheet = new TTabSheet(Form);
            sheet->SetPageControl(Pages);
            sheet->SetCaption(caption);
        }
        Pages->SetActivePageIndex(0);
    }
    TExtPageControl* Pages;
};

TEST_F(ExtPageTest, TabsTakeTheCaptionColours) {
    EXPECT_TRUE(Pages->OwnerDraw());
    const QImage& img = Pages->PaintImage();
    TRect active = Pages->TabDrawRect(0), inactive = Pages->TabDrawRect(1);
    // Just inside the active tab's shrunk rectangle, and inside an inactive tab.
    EXPECT_EQ(img.pixel(active.Left + 4, active.Top + 4) & 0xFFFFFF, Rgb(clActiveCaption));
    EXPECT_EQ(img.pixel(inactive.Left + 2, inactive.Top + 2) & 0xFFFFFF, Rgb(clInactiveCaption));
    // The caption is drawn over the fill.
    int ink = 0;
    for (int y = inactive.Top; y < inactive.Bottom; ++y)
        for (int x = inactive.Left; x < inactive.Right; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == Rgb(clInactiveCaptionText)) ++ink;
    EXPECT_GT(ink, 5);
}

TEST_F(ExtPageTest, HiddenTabsAreSkippedAndOnDrawTabReplacesTheDrawing) {
    Pages->Pages(1)->SetTabVisible(false);
    EXPECT_EQ(Pages->TabCount(), 2);
    EXPECT_EQ(Pages->PageForTab(1), Pages->Pages(2));

    struct Recorder : TObject {
        std::vector<int> Tabs;
        void Draw(TCustomTabControl*, int tab, const TRect&, bool) { Tabs.push_back(tab); }
    } recorder;
    Pages->FOnDrawTab = rtl::MethodOf<&Recorder::Draw>(&recorder);
    const QImage& img = Pages->PaintImage();
    std::sort(recorder.Tabs.begin(), recorder.Tabs.end()); // the active tab is drawn last
    EXPECT_EQ(recorder.Tabs, (std::vector<int>{0, 1}));
    TRect active = Pages->TabDrawRect(0);
    EXPECT_NE(img.pixel(active.Left + 4, active.Top + 4) & 0xFFFFFF, Rgb(clActiveCaption));
}

} // namespace
