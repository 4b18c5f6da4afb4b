// The grid package's client dataset: a client dataset that also tells grids how to edit its
// fields. Each ControlType line is "field;type;parameters", e.g. "checked;CheckBox;Y;N" (a
// check box storing "Y" when ticked and "N" when not).
#pragma once

#include "platform/db/DBClient.h"

#include <memory>
#include <string>

namespace db {

class TwwClientDataSet : public TClientDataSet {
    RTL_DECLARE_CLASS(TwwClientDataSet, TClientDataSet)
public:
    explicit TwwClientDataSet(TComponent* owner);
    ~TwwClientDataSet() override;

    rtl::TStrings* ControlType() const { return FControlType.get(); }
    void SetControlType(rtl::TStrings* value) { FControlType->Assign(value); }
    // The control type of a field (without regard to case) and what follows it on its line:
    // "checked" -> "CheckBox", "Y;N". False when the field has none.
    bool FieldControlType(std::string_view fieldName, std::string& type,
                          std::string& parameters) const;

private:
    std::unique_ptr<rtl::TStringList> FControlType;
};

} // namespace db
