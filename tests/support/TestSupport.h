// Small fixtures shared by the test programs.
#pragma once

#include <optional>
#include <string>

namespace testing_support {

// A fresh folder under the temporary folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return FPath; } // with a trailing "/"
    std::string File(const std::string& name) const { return FPath + name; }

private:
    std::string FPath;
};

// Sets (or, with nullopt, unsets) an environment variable for the guard's lifetime.
class EnvGuard {
public:
    EnvGuard(std::string name, std::optional<std::string> value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string FName;
    std::optional<std::string> FOld;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

} // namespace testing_support
