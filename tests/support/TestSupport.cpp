#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/orvane-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed for " + tmpl);
    FPath = tmpl + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

EnvGuard::EnvGuard(std::string name, std::optional<std::string> value) : FName(std::move(name)) {
    if (const char* old = std::getenv(FName.c_str())) FOld = old;
    if (value)
        setenv(FName.c_str(), value->c_str(), 1);
    else
        unsetenv(FName.c_str());
}

EnvGuard::~EnvGuard() {
    if (FOld)
        setenv(FName.c_str(), FOld->c_str(), 1);
    else
        unsetenv(FName.c_str());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path);
    f << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace testing_support
