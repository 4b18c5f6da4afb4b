#include "platform/db/wwClient.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/SysUtils.h"

namespace db {

TwwClientDataSet::TwwClientDataSet(TComponent* owner)
    : TClientDataSet(owner), FControlType(std::make_unique<rtl::TStringList>()) {}

TwwClientDataSet::~TwwClientDataSet() = default;

bool TwwClientDataSet::FieldControlType(std::string_view fieldName, std::string& type,
                                        std::string& parameters) const {
    for (int i = 0; i < FControlType->Count(); ++i) {
        const std::string& line = FControlType->Get(i);
        const size_t p = line.find(';');
        if (p == std::string::npos || !rtl::SameText(rtl::Trim(line.substr(0, p)), fieldName))
            continue;
        const size_t q = line.find(';', p + 1);
        type = line.substr(p + 1, q == std::string::npos ? std::string::npos : q - p - 1);
        parameters = q == std::string::npos ? std::string() : line.substr(q + 1);
        return true;
    }
    return false;
}

RTL_BEGIN_CLASS(TwwClientDataSet, TClientDataSet)
c.Obj("ControlType", &TwwClientDataSet::ControlType, &TwwClientDataSet::SetControlType);
RTL_END_CLASS

void RegisterDB() {
    static const bool done = [] {
        for (const rtl::TClassInfo* c :
             {&TStringField::StaticClassInfo(), &TMemoField::StaticClassInfo(),
              &TIntegerField::StaticClassInfo(), &TSmallintField::StaticClassInfo(),
              &TFloatField::StaticClassInfo(), &TBooleanField::StaticClassInfo(),
              &TDateTimeField::StaticClassInfo(), &TDateField::StaticClassInfo(),
              &TDataSource::StaticClassInfo(), &TClientDataSet::StaticClassInfo(),
              &TwwClientDataSet::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace db
