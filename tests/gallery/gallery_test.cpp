// The condition-input controls on one form, shown with their views: rendered to a picture that
// a person can look at, and checked where it matters.
#include "components/BtChkBox.h"
#include "components/CompUtils.h"
#include "components/DBLabel.h"
#include "components/ExtPage.h"
#include "components/F2Button.h"
#include "components/KtRadioButton.h"
#include "components/KtRadioGroup.h"
#include "components/KtSpin.h"
#include "components/KtrEdit.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/qt/QtViews.h"

#include "platform/rtl/ClassBuilder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

void RegisterGalleryResources();

using namespace vcl;
using namespace components;

namespace {

struct QtEnvironment : ::testing::Environment {
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "test_gallery";
        static char* argv[] = {arg0, nullptr};
        new QApplication(argc, argv);
        qt::InstallQtViews();
        RegisterComponentClasses();
        RegisterGalleryResources();
    }
};
const auto* const Env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class TfrmGallery : public TForm {
    RTL_DECLARE_CLASS(TfrmGallery, TForm)
public:
    using TForm::TForm;
    TExtPageControl* pgOption = nullptr;
    TBitCheckBox *chkAll = nullptr, *chkOff = nullptr;
    TKtRadioButton* rbDetail = nullptr;
    TKtRadioGroup* rgCycle = nullptr;
    TKtBtnEdit* edCustomer = nullptr;
    TF2Button* btnDate = nullptr;
    TDBLabel* lblDate = nullptr;
    TMaskEdit* edDate = nullptr;
};

} // namespace

RTL_BEGIN_CLASS(TfrmGallery, TForm)
c.Field("pgOption", &TfrmGallery::pgOption);
c.Field("chkAll", &TfrmGallery::chkAll);
c.Field("chkOff", &TfrmGallery::chkOff);
c.Field("rbDetail", &TfrmGallery::rbDetail);
c.Field("rgCycle", &TfrmGallery::rgCycle);
c.Field("edCustomer", &TfrmGallery::edCustomer);
c.Field("btnDate", &TfrmGallery::btnDate);
c.Field("lblDate", &TfrmGallery::lblDate);
c.Field("edDate", &TfrmGallery::edDate);
RTL_END_CLASS

namespace {

QString RenderPath(const char* name) {
    QString dir = qEnvironmentVariable("ORVANE_RENDER_DIR", QDir::tempPath());
    QDir().mkpath(dir);
    return dir + "/" + name;
}

uint32_t Rgb(TColor c) {
    uint32_t bgr = ColorToRGB(c);
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

QPoint At(TControl* c, QWidget* window, int x = 0, int y = 0) {
    return qt::WidgetOf(*c)->mapTo(window, QPoint(x, y));
}

struct GalleryTest : ::testing::Test {
    GalleryTest() {
        Form = Create<TfrmGallery>(nullptr);
        Form->Show();
        Window = qt::WidgetOf(*Form);
        QApplication::processEvents();
        Shot = Window->grab().toImage();
    }
    ~GalleryTest() override { delete Form; }
    TfrmGallery* Form;
    QWidget* Window;
    QImage Shot;
};

TEST_F(GalleryTest, RendersTheControlsWhereTheResourcePutsThem) {
    Shot.save(RenderPath("gallery.png"));
    // The caption label sits left of the date edit, the lookup button right of it.
    EXPECT_EQ(Form->btnDate->Left(), 96 + 86 + 2);
    EXPECT_EQ(Form->lblDate->Left() + Form->lblDate->Width() + 4, 96);
    EXPECT_EQ(qt::WidgetOf(*Form->edCustomer->F2Button())->geometry(),
              QRect(96 + 121 + 2, 16, 21, 21));
    EXPECT_EQ(Form->rgCycle->ItemIndex(), 1);
    EXPECT_TRUE(Form->rgCycle->Buttons(1)->Checked());
}

TEST_F(GalleryTest, CheckBoxPicturesRadioCaptionsAndTabsOnScreen) {
    // The checked picture: its blue tick inside the box; the disabled box without it.
    QPoint box = At(Form->chkAll, Window);
    int blue = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 19; ++x) {
            QRgb p = Shot.pixel(box + QPoint(x, 1 + y));
            if (qBlue(p) > 150 && qRed(p) < 100) ++blue;
        }
    EXPECT_GT(blue, 4);
    // The olive background of the picture is not drawn.
    for (int y = 0; y < 17; ++y)
        EXPECT_NE(Shot.pixel(box + QPoint(0, y)) & 0xFFFFFF, 0x808000u);

    // The radio button's caption: nothing between the round button and 17 (a 9-point font).
    QPoint radio = At(Form->rbDetail, Window);
    ASSERT_EQ(Form->rbDetail->Font()->GetSize(), 9);
    int first = -1;
    for (int x = 14; x < 40 && first < 0; ++x)
        for (int y = 0; y < 17; ++y)
            if (qGray(Shot.pixel(radio + QPoint(x, y))) < 110) {
                first = x;
                break;
            }
    EXPECT_GE(first, TKtRadioButton::CaptionOffset(9));
    EXPECT_LE(first, TKtRadioButton::CaptionOffset(9) + 2);

    // The tabs: the active one in the active-caption colour, the others inactive; the hidden
    // page has no tab.
    EXPECT_EQ(Form->pgOption->TabCount(), 3);
    QPoint pages = At(Form->pgOption, Window);
    TRect active = Form->pgOption->TabDrawRect(0), other = Form->pgOption->TabDrawRect(2);
    EXPECT_EQ(Shot.pixel(pages + QPoint(active.Left + 4, active.Top + 4)) & 0xFFFFFF,
              Rgb(clActiveCaption));
    EXPECT_EQ(Shot.pixel(pages + QPoint(other.Left + 2, other.Top + 2)) & 0xFFFFFF,
              Rgb(clInactiveCaption));
}

TEST_F(GalleryTest, ClicksOnDrawnControlsGoThroughTheModel) {
    QWidget* check = qt::WidgetOf(*Form->chkAll);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_FALSE(Form->chkAll->Checked());
    EXPECT_EQ(Form->ActiveControl(), Form->chkAll);
    QTest::mouseClick(qt::WidgetOf(*Form->rgCycle->Buttons(3)), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(Form->rgCycle->ItemIndex(), 3);
    // A click on the next tab turns the page.
    TRect tab = Form->pgOption->TabDrawRect(1);
    QTest::mouseClick(qt::WidgetOf(*Form->pgOption), Qt::LeftButton, {},
                      QPoint(tab.Left + 5, tab.Top + 5));
    EXPECT_EQ(Form->pgOption->ActivePageIndex(), 1);
}

TEST(Gallery, ScreenShotOfARealWindow) {
    // Under a real display (xvfb-run with QT_QPA_PLATFORM=xcb) the whole screen is taken too.
    if (QGuiApplication::platformName() == "offscreen") GTEST_SKIP() << "no display";
    auto* form = Create<TfrmGallery>(nullptr);
    form->Show();
    QWidget* w = qt::WidgetOf(*form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QTest::qWait(200);
    QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    EXPECT_TRUE(screen.save(RenderPath("gallery-screen.png")));
    delete form;
}

} // namespace
