// Reading form resources onto components: the text form format interpreted against the class
// registry and the published properties, with visual form inheritance.
#pragma once

#include <string>
#include <string_view>

namespace vcl {

class TComponent;

// Registers the resource of a form class (its text form); the build embeds the files under
// resources/ this way. A later registration of the same class replaces the earlier one.
void RegisterFormResource(std::string_view className, std::string_view resourceName,
                          std::string_view text);
bool HasFormResource(std::string_view className);
// Registers a resource for the class its first line names ("object frmX: TfrmX"); the build's
// embedded resources come in this way. EFormParseError when that line is not a form's head.
void RegisterFormResourceText(std::string_view resourceName, std::string_view text);

// Applies one resource to root: properties set by name (dotted paths through object
// properties), "object" blocks create components through the class registry (owned by root,
// parented by the enclosing block, bound to root's published field of that name), "inherited"
// blocks find the existing component by name, events bind to root's published methods.
// References to components are resolved once the whole resource is read; Loaded runs on every
// component read. Errors are EFormParseError naming resource, line, column and name.
void ReadFormResource(TComponent* root, std::string_view text, std::string_view resourceName);

// Applies the registered resources of root's class chain, the most basic class first (visual
// form inheritance). Answers whether any resource was found.
bool InitInheritedComponent(TComponent* root);

} // namespace vcl
