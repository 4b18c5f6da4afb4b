// Text is measured and drawn with Qt's fonts, which need a GUI application (offscreen here);
// the view tests need widgets, so it is a QApplication.
#include "platform/vcl/CommonCtrls.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_vcl_ctrls";
        static char* argv[] = {name, nullptr};
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance()) FApp = std::make_unique<QApplication>(argc, argv);
        vcl::RegisterCommonCtrls();
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QApplication> FApp;
};

[[maybe_unused]] auto* const gGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
