#include "platform/db/DBClient.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/SysUtils.h"

namespace db {

using rtl::Format;

namespace {

class TDispatchAppServer : public IAppServerProvider {
public:
    explicit TDispatchAppServer(ole::DispatchPtr server) : FServer(std::move(server)) {}
    ole::Variant AS_GetRecords(const std::string& providerName, int count, int& recsOut,
                               bool reset) override {
        ole::Variant recs(0);
        std::vector<ole::Variant> args{ole::Variant(providerName), ole::Variant(count),
                                       ole::Variant::ByRef(&recs), ole::Variant(reset)};
        ole::Variant result = FServer->Invoke("AS_GetRecords", ole::DispKind::Method, args);
        recsOut = recs.IsNull() || recs.IsEmpty() ? 0 : recs.AsInteger();
        return result;
    }

private:
    ole::DispatchPtr FServer;
};

// Restores a flag when the scope ends, also through an exception.
struct TFlagGuard {
    bool& Flag;
    explicit TFlagGuard(bool& flag) : Flag(flag) { Flag = true; }
    ~TFlagGuard() { Flag = false; }
};

} // namespace

std::shared_ptr<IAppServerProvider> DispatchAppServer(ole::DispatchPtr server) {
    if (!server) return nullptr;
    return std::make_shared<TDispatchAppServer>(std::move(server));
}

TClientDataSet::TClientDataSet(TComponent* owner) : TDataSet(owner) {}

TClientDataSet::~TClientDataSet() {
    if (FRemoteServer) FRemoteServer->RemoveFreeNotification(this);
}

void TClientDataSet::Notification(TComponent* component, vcl::TOperation operation) {
    TDataSet::Notification(component, operation);
    if (operation == vcl::TOperation::opRemove && component == FRemoteServer)
        FRemoteServer = nullptr;
}

void TClientDataSet::SetRemoteServer(TCustomRemoteServer* server) {
    if (server == FRemoteServer) return;
    if (FRemoteServer) FRemoteServer->RemoveFreeNotification(this);
    FRemoteServer = server;
    if (FRemoteServer) FRemoteServer->FreeNotification(this);
}

IAppServerProvider* TClientDataSet::AppServer() const {
    if (FAppServer) return FAppServer.get();
    return FRemoteServer ? FRemoteServer->GetAppServerProvider() : nullptr;
}

void TClientDataSet::CreateDataSet() {
    CheckInactive();
    if (FieldDefs().Count() == 0) {
        if (FieldCount() == 0) DatabaseError("No fields defined; cannot create dataset", this);
        for (int i = 0; i < FieldCount(); ++i) {
            const TField* f = Fields(i);
            FieldDefs().Add(f->FieldName(), f->DataType(), f->Size(), f->Required());
        }
    }
    TFlagGuard creating(FCreating);
    Open();
}

void TClientDataSet::Loaded() {
    // A dataset made active in a resource without a provider holds the empty data it was
    // designed with.
    if (FProviderName.empty() && (FieldCount() > 0 || FieldDefs().Count() > 0)) {
        TFlagGuard creating(FCreating);
        TDataSet::Loaded();
        return;
    }
    TDataSet::Loaded();
}

ole::Variant TClientDataSet::Fetch(int count, bool reset, int& recsOut) {
    IAppServerProvider* server = AppServer();
    if (!server)
        DatabaseError(Format("No application server for provider '%s'", FProviderName.c_str()),
                      this);
    recsOut = 0;
    ole::Variant packet = server->AS_GetRecords(FProviderName, count, recsOut, reset);
    if (!ole::VarIsArray(packet) || ole::VarArrayLength(packet) < 2 ||
        !ole::VarIsArray(packet[ole::VarArrayLowBound(packet, 1)]))
        DatabaseError(Format("Invalid data packet from provider '%s'", FProviderName.c_str()),
                      this);
    return packet;
}

void TClientDataSet::InitFieldDefs() {
    if (FCreating) return;
    if (FProviderName.empty()) DatabaseError("Missing data provider or data packet", this);
    int recs = 0;
    FFirstPacket = Fetch(FPacketRecords, true, recs);
    FAllFetched = FPacketRecords < 0 || recs < FPacketRecords;
    if (FieldCount() > 0) return; // the dataset's own fields take the packet's columns
    FieldDefs().Clear();
    const ole::Variant& fields = FFirstPacket[ole::VarArrayLowBound(FFirstPacket, 1)];
    for (int i = ole::VarArrayLowBound(fields, 1); i <= ole::VarArrayHighBound(fields, 1); ++i) {
        const ole::Variant& f = fields[i];
        const int lo = ole::VarArrayLowBound(f, 1);
        TFieldType type;
        const std::string typeName = ole::VarToStr(f[lo + 1]);
        if (!FieldTypeFromName(typeName, type))
            DatabaseError(Format("Field '%s' has the unknown type '%s'",
                                 ole::VarToStr(f[lo]).c_str(), typeName.c_str()),
                          this);
        FieldDefs().Add(ole::VarToStr(f[lo]), type, f[lo + 2].IsNull() ? 0 : f[lo + 2].AsInteger());
    }
}

void TClientDataSet::InternalOpen() {
    if (FCreating || FFirstPacket.IsEmpty()) return;
    const ole::Variant& fields = FFirstPacket[ole::VarArrayLowBound(FFirstPacket, 1)];
    FPacketMap.clear();
    std::vector<bool> found(size_t(FieldCount()), false);
    for (int i = ole::VarArrayLowBound(fields, 1); i <= ole::VarArrayHighBound(fields, 1); ++i) {
        const ole::Variant& f = fields[i];
        TField* field = FindField(ole::VarToStr(f[ole::VarArrayLowBound(f, 1)]));
        const int index = field ? field->Index() : -1;
        FPacketMap.push_back(index);
        if (index >= 0) found[size_t(index)] = true;
    }
    for (int i = 0; i < FieldCount(); ++i)
        if (!found[size_t(i)])
            DatabaseError("Field '" + Fields(i)->FieldName() + "' not found", this);
    ole::Variant packet = std::move(FFirstPacket);
    FFirstPacket = ole::Variant();
    AppendPacket(packet);
}

void TClientDataSet::AppendPacket(const ole::Variant& packet) {
    const ole::Variant& rows = packet[ole::VarArrayLowBound(packet, 1) + 1];
    if (!ole::VarIsArray(rows)) return;
    std::vector<TFieldValue> values(static_cast<size_t>(FieldCount()));
    for (int r = ole::VarArrayLowBound(rows, 1); r <= ole::VarArrayHighBound(rows, 1); ++r) {
        const ole::Variant& row = rows[r];
        if (!ole::VarIsArray(row))
            DatabaseError("Invalid data packet: a row is not an array", this);
        const int lo = ole::VarArrayLowBound(row, 1);
        const int n = std::min<int>(ole::VarArrayLength(row), int(FPacketMap.size()));
        for (auto& v : values)
            v = TFieldValue{};
        for (int c = 0; c < n; ++c) {
            const int col = FPacketMap[size_t(c)];
            if (col < 0) continue;
            const ole::Variant& item = row[lo + c].Deref();
            if (item.IsNull() || item.IsEmpty()) continue;
            TField* f = Fields(col);
            TFieldValue& v = values[size_t(col)];
            switch (f->DataType()) {
            case TFieldType::ftString:
            case TFieldType::ftMemo:
                f->StringToValue(ole::VarToStr(item), v);
                break;
            case TFieldType::ftBoolean:
                v.Null = false;
                v.Num = item.AsBoolean() ? 1 : 0;
                break;
            case TFieldType::ftDate:
            case TFieldType::ftDateTime:
                v.Null = false;
                v.Num = item.AsDate();
                break;
            default:
                if (item.IsString()) {
                    f->StringToValue(item.AsString(), v);
                } else {
                    v.Null = false;
                    v.Num = item.AsDouble();
                    f->CheckNumber(v.Num);
                }
            }
        }
        AppendRecord(values);
    }
}

int TClientDataSet::FetchPacket() {
    if (FAllFetched || FProviderName.empty()) return 0;
    const int count = FPacketRecords > 0 ? FPacketRecords : -1;
    int recs = 0;
    const ole::Variant packet = Fetch(count, false, recs);
    const int before = RecordCount();
    AppendPacket(packet);
    if (count < 0 || recs < count) FAllFetched = true;
    const std::vector<TField*> keys = SortKeys();
    if (!keys.empty()) SortRecords(keys);
    return RecordCount() - before;
}

int TClientDataSet::GetNextPacket() {
    CheckActive();
    const int n = FetchPacket();
    if (n > 0) DataEvent(TDataEvent::deDataSetChange);
    return n;
}

bool TClientDataSet::FetchMore() {
    return FFetchOnDemand && Active() && FetchPacket() > 0;
}

void TClientDataSet::InternalClose() {
    FFirstPacket = ole::Variant();
    FPacketMap.clear();
    FAllFetched = true;
}

std::string TClientDataSet::IndexFields() const {
    if (!FIndexFieldNames.empty()) return FIndexFieldNames;
    if (FIndexName.empty()) return {};
    for (const TIndexDef& d : FIndexDefs)
        if (rtl::SameText(d.Name, FIndexName)) return d.Fields;
    DatabaseError("Index '" + FIndexName + "' not found", this);
}

std::vector<TField*> TClientDataSet::SortKeys() const {
    if (FIndexFieldNames.empty() && FIndexName.empty()) return {};
    return FieldList(IndexFields());
}

void TClientDataSet::SetIndexFieldNames(const std::string& names) {
    if (Active()) {
        CheckBrowseMode();
        const std::string old = FIndexFieldNames;
        FIndexFieldNames = names;
        std::vector<TField*> keys;
        try {
            keys = SortKeys();
        } catch (...) {
            FIndexFieldNames = old;
            throw;
        }
        if (!keys.empty()) SortRecords(keys);
        DataEvent(TDataEvent::deDataSetChange);
    } else {
        FIndexFieldNames = names;
    }
    if (!names.empty()) FIndexName.clear();
}

void TClientDataSet::SetIndexName(const std::string& name) {
    if (Active()) {
        CheckBrowseMode();
        const std::string old = FIndexName, oldFields = FIndexFieldNames;
        FIndexName = name;
        FIndexFieldNames.clear();
        std::vector<TField*> keys;
        try {
            keys = SortKeys();
        } catch (...) {
            FIndexName = old;
            FIndexFieldNames = oldFields;
            throw;
        }
        if (!keys.empty()) SortRecords(keys);
        DataEvent(TDataEvent::deDataSetChange);
    } else {
        FIndexName = name;
        if (!name.empty()) FIndexFieldNames.clear();
    }
}

RTL_BEGIN_ABSTRACT_CLASS(TCustomRemoteServer, TComponent)
RTL_END_CLASS

RTL_BEGIN_CLASS(TClientDataSet, TDataSet)
c.Str("IndexFieldNames", &TClientDataSet::IndexFieldNames, &TClientDataSet::SetIndexFieldNames);
c.Str("IndexName", &TClientDataSet::IndexName, &TClientDataSet::SetIndexName);
c.Str("ProviderName", &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName);
c.Obj("RemoteServer", &TClientDataSet::RemoteServer, &TClientDataSet::SetRemoteServer);
c.Int("PacketRecords", &TClientDataSet::PacketRecords, &TClientDataSet::SetPacketRecords);
c.Bool("FetchOnDemand", &TClientDataSet::FetchOnDemand, &TClientDataSet::SetFetchOnDemand);
RTL_END_CLASS

} // namespace db
