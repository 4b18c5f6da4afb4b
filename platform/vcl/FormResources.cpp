#include "platform/vcl/FormParser.h"
#include "platform/vcl/FormReader.h"

#include <cctype>
#include <string>

namespace vcl {

void RegisterFormResourceText(std::string_view resourceName, std::string_view text) {
    // The head is "object|inherited|inline Name: ClassName" on the first line that holds text.
    size_t i = 0, line = 1;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
    auto skipSpace = [&] {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
            if (text[i] == '\n') ++line;
            ++i;
        }
    };
    auto word = [&] {
        size_t start = i;
        while (i < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_'))
            ++i;
        return std::string(text.substr(start, i - start));
    };
    skipSpace();
    std::string kind = word();
    for (char& c : kind)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (kind != "object" && kind != "inherited" && kind != "inline")
        throw EFormParseError(std::string(resourceName), int(line), 1,
                              "a form resource starts with \"object\" or \"inherited\"");
    skipSpace();
    std::string first = word();
    skipSpace();
    std::string className = first;
    if (i < text.size() && text[i] == ':') {
        ++i;
        skipSpace();
        className = word();
    }
    if (className.empty())
        throw EFormParseError(std::string(resourceName), int(line), 1,
                              "the form resource names no class");
    RegisterFormResource(className, resourceName, text);
}

} // namespace vcl
