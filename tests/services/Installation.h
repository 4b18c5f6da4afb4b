// A throw-away installation laid out by the demo code, with the registry file and the ANSI code
// page pointed at it for the test's lifetime.
#pragma once

#include "suite/demo/DemoInstall.h"
#include "tests/support/TestSupport.h"

struct TestInstallation {
    explicit TestInstallation(const demo::TDemoOptions& options = {}, std::string acp = "936")
        : Layout(demo::CreateDemoInstallation(Dir.Path(), options)),
          Registry("ORVANE_REGISTRY", Layout.RegistryFile), Acp("ORVANE_ACP", std::move(acp)) {}

    // Replaces the registry file's text (the store reloads it).
    void SetRegistry(const std::string& text) const {
        testing_support::WriteFile(Layout.RegistryFile, text);
    }

    testing_support::TempDir Dir;
    demo::TDemoLayout Layout;
    testing_support::EnvGuard Registry;
    testing_support::EnvGuard Acp;
};
