// Fixtures for the dataset tests: event hooks bound to lambdas, a recording data link and a
// client dataset shaped like the write-off grid's.
#pragma once

#include "platform/db/wwClient.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dbtest {

// An event handler that runs a lambda: hook.Fn = [&](db::TDataSet*) {...}; ds->AfterPost =
// hook.Event();
template <class... A> struct THook : rtl::TObject {
    std::function<void(A...)> Fn;
    void Call(A... a) {
        if (Fn) Fn(a...);
    }
    rtl::TEvent<A...> Event() { return rtl::MethodOf<&THook::Call>(this); }
};
using TDataSetHook = THook<db::TDataSet*>;
using TFieldHook = THook<db::TField*>;

// Writes every notification it hears as a word into Log.
class TRecordingLink : public db::TDataLink {
public:
    std::vector<std::string> Log;
    std::string Joined() const {
        std::string s;
        for (const auto& w : Log)
            s += (s.empty() ? "" : " ") + w;
        return s;
    }

protected:
    void ActiveChanged() override { Log.push_back(Active() ? "active" : "inactive"); }
    void EditingChanged() override { Log.push_back(Editing() ? "editing" : "browsing"); }
    void DataSetChanged() override { Log.push_back("changed"); }
    void DataSetScrolled(int distance) override {
        Log.push_back("scrolled" + std::to_string(distance));
    }
    void LayoutChanged() override { Log.push_back("layout"); }
    void RecordChanged(db::TField* field) override {
        Log.push_back("record:" + (field ? field->FieldName() : std::string("-")));
    }
    void UpdateData() override { Log.push_back("update"); }
};

// The write-off grid's dataset: checked, MA017, MQ003, TA001, TA002, TA0293031, TA0293031C1.
inline db::TwwClientDataSet* JobDataSet(vcl::TComponent* owner) {
    auto* ds = vcl::Create<db::TwwClientDataSet>(owner);
    ds->SetName("cds01");
    auto& d = ds->FieldDefs();
    d.Add("checked", db::TFieldType::ftString, 1);
    d.Add("MA017", db::TFieldType::ftString, 30);
    d.Add("MQ003", db::TFieldType::ftString, 10);
    d.Add("TA001", db::TFieldType::ftString, 10);
    d.Add("TA002", db::TFieldType::ftString, 16);
    d.Add("TA0293031", db::TFieldType::ftFloat);
    d.Add("TA0293031C1", db::TFieldType::ftFloat);
    ds->ControlType()->Add("checked;CheckBox;Y;N");
    ds->CreateDataSet();
    return ds;
}

inline void AddRow(db::TDataSet* ds, const char* checked, const char* type, const char* no,
                   double amount, double local) {
    ds->Append();
    ds->FieldByName("checked")->SetAsString(checked);
    ds->FieldByName("MA017")->SetAsString(" ");
    ds->FieldByName("TA001")->SetAsString(type);
    ds->FieldByName("TA002")->SetAsString(no);
    ds->FieldByName("TA0293031")->SetAsFloat(amount);
    ds->FieldByName("TA0293031C1")->SetAsFloat(local);
    ds->Post();
}

// Owner of a test's components, freed with them.
struct TOwner {
    vcl::TComponent* C = new vcl::TComponent(nullptr);
    ~TOwner() { C->Free(); }
};

} // namespace dbtest
