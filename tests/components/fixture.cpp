#include "tests/components/Fixture.h"

#include <QGuiApplication>

namespace {
struct GuiEnvironment : ::testing::Environment {
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "test_components";
        static char* argv[] = {arg0, nullptr};
        new QGuiApplication(argc, argv);
    }
};
const auto* const Env = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
} // namespace

ComponentsTest::ComponentsTest() {
    auto responder = std::make_unique<vcl::TScriptedResponder>();
    Responder = responder.get();
    vcl::SetInteraction(std::move(responder));
    Form = vcl::Create<TLookupForm>(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Form->Show();
}

ComponentsTest::~ComponentsTest() {
    delete Form;
    vcl::SetInteraction(nullptr);
}
