// A form to put components on, a scripted responder for their dialogs, and a GUI application
// for what they draw (offscreen).
#pragma once

#include "components/CompUtils.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>

#include <vector>

class TLookupForm : public vcl::TForm {
public:
    using vcl::TForm::TForm;
    void WndProc(vcl::TMessage& m) override {
        if (m.Msg == components::WM_KTLOOKUP) {
            EXPECT_EQ(m.WParam, 0);
            Lookups.push_back(reinterpret_cast<vcl::TWinControl*>(m.LParam));
            return;
        }
        vcl::TForm::WndProc(m);
    }
    std::vector<vcl::TWinControl*> Lookups;
};

struct ComponentsTest : ::testing::Test {
    ComponentsTest();
    ~ComponentsTest() override;
    TLookupForm* Form;
    vcl::TScriptedResponder* Responder;
};
