// Language packages: an XML file "<class name>.Lng" per form class in the language folder of
// the interface's code page. Every element named like a component carries, as attributes, new
// values for that component's properties; the root element stands for the form itself. The same
// files hold message texts ("//<name>/@Msg") looked up by class and message name.
//
// Folder: <ClientPath or ServerPath>MultiLanguage/<CHS|CHT|ENG>/ by the profile's UICodePage
// (936, 950, 437); empty when the code page has no language code, the folder does not exist or
// the installation path is unknown; a package is then looked for under its bare file name.
//
// Attribute names are property paths: "Caption", "Font.Name", "Items_3" (line 3 of a string
// list), "Columns_1.Caption" and "Items_2.Caption" of a list view, "Panels.Items_0.Text" (item 0
// of a collection). Enumerations and sets take the value trimmed, colours and cursors their
// named constants. An attribute that names no property or carries an unfitting value is skipped.
#pragma once

#include "services/OrvaneINI.h"

#include "platform/rtl/Classes.h"
#include "platform/vcl/Component.h"
#include "platform/xml/Dom.h"

#include <memory>
#include <string>
#include <string_view>

RTL_EXCEPTION_CLASS(LanguageControllerError, rtl::Exception);

// Before and after one element is applied to one component.
using TLoadComponentEvent =
    rtl::TEvent<vcl::TComponent* /*xComponent*/, const xml::Node& /*xComponentNode*/>;

// Support operations on published properties.
// Sets the property at a dotted path ("Font.Color") from a text; false instead of an error.
bool SetPropertyPath(rtl::TObject* obj, std::string_view path, const std::string& value);
// The object held by a class-typed property; null for any other property or none.
rtl::TObject* GetObjectProperty(const rtl::TObject* obj, std::string_view name);
// The n-th (from 0) part of text split at separator; empty past the last.
std::string GetToken(std::string_view text, char separator, int n);
// The text of an attribute node; empty for any other node.
std::string AttributeText(const xml::Node& node);
// Applies one attribute (a property path and its value) to a component.
void ApplyLangAttribute(vcl::TComponent* component, std::string_view path,
                        const std::string& value);

// The language folder of the design type's configuration, with a trailing separator, or empty.
std::string LangFolder(TDesignType designType);
// The message text messageName of the package className, or def when there is none.
std::string LookupLangText(TDesignType designType, const std::string& className,
                           const std::string& messageName, const std::string& def);

// Reads one element's attributes into one component.
class ILangRead {
public:
    virtual ~ILangRead() = default;
    virtual vcl::TComponent* Component() const = 0;
    virtual const xml::Node& Node() const = 0;
    virtual void ReadAttribute(const xml::Node& attribute) = 0;
    virtual void ReadAttributes() = 0;
};

class TComponentRead : public ILangRead {
public:
    TComponentRead(vcl::TComponent* component, xml::Node node)
        : FComponent(component), FNode(std::move(node)) {}
    vcl::TComponent* Component() const override { return FComponent; }
    const xml::Node& Node() const override { return FNode; }
    void ReadAttribute(const xml::Node& attribute) override;
    void ReadAttributes() override;

private:
    vcl::TComponent* FComponent;
    xml::Node FNode;
};

// Combo boxes keep their selected item when a package replaces their lines.
class TCustomComboBoxRead : public TComponentRead {
public:
    using TComponentRead::TComponentRead;
    void ReadAttributes() override;
};

// The InfoPower combo box (TwwDBCustomComboBox and descendants, by class name).
class TwwDBCustomComboBoxRead : public TCustomComboBoxRead {
public:
    using TCustomComboBoxRead::TCustomComboBoxRead;
};

struct TReaderFactory {
    static std::unique_ptr<ILangRead> CreateReader(vcl::TComponent* component,
                                                   const xml::Node& node);
};

// A loaded package applied to component trees.
class TLangReader {
public:
    TLangReader(xml::Document document, const rtl::TStrings& excludeControls,
                TLoadComponentEvent beforeLoad, TLoadComponentEvent afterLoad);
    void SetExcludeControls(const rtl::TStrings& names);
    // The package applied to component and everything it owns.
    void Apply(vcl::TComponent* component);

private:
    bool Excluded(const std::string& name) const;
    void Read(vcl::TComponent* component, const xml::Node& node);
    xml::Document FDocument;
    rtl::TStringList FExcludeControls;
    TLoadComponentEvent FBeforeLoad, FAfterLoad;
};

class TLanguageController : public vcl::TComponent {
    RTL_DECLARE_CLASS(TLanguageController, vcl::TComponent)
public:
    explicit TLanguageController(vcl::TComponent* owner);
    ~TLanguageController() override;

    // True while a package with a root element is loaded. Setting it true loads the package
    // file (LanguageControllerError "Cannot Find File %s!" without a file name, or the parser's
    // reason); while read from a form resource the value waits for the end of loading.
    bool Active() const;
    void SetActive(bool value);
    const std::string& LangPackageName() const { return FLangPackageName; }
    // Computes PackageFileName; a different file deactivates the controller.
    void SetLangPackageName(const std::string& value);
    const std::string& PackageFileName() const { return FPackageFileName; }
    TDesignType DesignType() const { return FDesignType; }
    void SetDesignType(TDesignType v) { FDesignType = v; }
    rtl::TStrings* ExcludeControls() const { return FExcludeControls.get(); }
    void SetExcludeControls(rtl::TStrings* value);

    // LanguageControllerError "No active LanguageController!" while inactive.
    void ApplyTo(vcl::TComponent* component);

    rtl::TNotifyEvent FBeforeOpen, FAfterOpen, FBeforeClose, FAfterClose;
    TLoadComponentEvent FBeforeLoadComponent, FAfterLoadComponent;

protected:
    void Loaded() override;

private:
    void Open();
    void Close();
    void ExcludeChanged(rtl::TObject*);
    std::string FLangPackageName, FPackageFileName;
    TDesignType FDesignType = TDesignType::dtClient;
    std::unique_ptr<rtl::TStringList> FExcludeControls;
    xml::Document FDocument;
    std::unique_ptr<TLangReader> FReader;
    bool FStreamedActive = false;
};

// The form the base form carries as LangController.
class TKtLangController : public TLanguageController {
    RTL_DECLARE_CLASS(TKtLangController, TLanguageController)
public:
    using TLanguageController::TLanguageController;
};
