// In-memory client datasets: created from field definitions, or filled from a provider of an
// application server.
//
// The provider seam. A client dataset with a ProviderName asks an application server for its
// rows through IAppServerProvider::AS_GetRecords. The answer is a data packet, a variant array
//   [ fields, rows ]
//   fields: array of [ name, type name ("String", "Integer", "Float", ... as FieldTypeName), size ]
//   rows:   array of rows, each an array of values in the order of fields (Null for no value)
// Tests serve the interface directly; DispatchAppServer adapts a late-bound application-server
// object, and a connection component (TCustomRemoteServer) hands one out.
#pragma once

#include "platform/db/DB.h"

#include "platform/ole/ComObj.h"

#include <memory>
#include <string>
#include <vector>

namespace db {

class IAppServerProvider {
public:
    virtual ~IAppServerProvider() = default;
    // The next `count` rows of the named provider (-1: all that remain; 0: the fields only).
    // reset starts again from the first row. recsOut answers how many rows came.
    virtual ole::Variant AS_GetRecords(const std::string& providerName, int count, int& recsOut,
                                       bool reset) = 0;
};

// Calls AS_GetRecords(ProviderName, Count, var RecsOut, Reset) on the automation object.
std::shared_ptr<IAppServerProvider> DispatchAppServer(ole::DispatchPtr server);

// A connection that reaches an application server (a socket connection, a local server).
class TCustomRemoteServer : public TComponent {
    RTL_DECLARE_CLASS(TCustomRemoteServer, TComponent)
public:
    explicit TCustomRemoteServer(TComponent* owner) : TComponent(owner) {}
    // The server's provider interface; null while not connected.
    virtual IAppServerProvider* GetAppServerProvider() = 0;
};

struct TIndexDef {
    std::string Name;
    std::string Fields; // "A;B;C"
};

class TClientDataSet : public TDataSet {
    RTL_DECLARE_CLASS(TClientDataSet, TDataSet)
public:
    explicit TClientDataSet(TComponent* owner);
    ~TClientDataSet() override;

    // Opens an empty dataset with fields from FieldDefs, or the dataset's own fields (whose
    // definitions then fill FieldDefs). EDatabaseError when neither is there.
    void CreateDataSet();

    // Records kept sorted by these fields ("A;B"); empty keeps the order they came in.
    const std::string& IndexFieldNames() const { return FIndexFieldNames; }
    void SetIndexFieldNames(const std::string& names);
    std::vector<TIndexDef>& IndexDefs() { return FIndexDefs; }
    // Selects one of IndexDefs by name (EDatabaseError "Index 'X' not found" when open).
    const std::string& IndexName() const { return FIndexName; }
    void SetIndexName(const std::string& name);

    const std::string& ProviderName() const { return FProviderName; }
    void SetProviderName(const std::string& name) { FProviderName = name; }
    TCustomRemoteServer* RemoteServer() const { return FRemoteServer; }
    void SetRemoteServer(TCustomRemoteServer* server);
    // A provider interface used directly, in place of a remote server's.
    void SetAppServer(std::shared_ptr<IAppServerProvider> server) {
        FAppServer = std::move(server);
    }
    IAppServerProvider* AppServer() const;

    // Rows per fetch: -1 all at once; n > 0 fetches n now and more when the cursor reaches
    // the end (FetchOnDemand) or GetNextPacket is called.
    int PacketRecords() const { return FPacketRecords; }
    void SetPacketRecords(int n) { FPacketRecords = n; }
    bool FetchOnDemand() const { return FFetchOnDemand; }
    void SetFetchOnDemand(bool value) { FFetchOnDemand = value; }
    int GetNextPacket(); // rows fetched

protected:
    void Loaded() override;
    void InitFieldDefs() override;
    void InternalOpen() override;
    void InternalClose() override;
    bool FetchMore() override;
    std::vector<TField*> SortKeys() const override;
    void Notification(TComponent* component, vcl::TOperation operation) override;

private:
    ole::Variant Fetch(int count, bool reset, int& recsOut);
    int FetchPacket();
    void AppendPacket(const ole::Variant& packet);
    std::string IndexFields() const;

    std::string FIndexFieldNames;
    std::string FIndexName;
    std::vector<TIndexDef> FIndexDefs;
    std::string FProviderName;
    TCustomRemoteServer* FRemoteServer = nullptr;
    std::shared_ptr<IAppServerProvider> FAppServer;
    int FPacketRecords = -1;
    bool FFetchOnDemand = true;
    bool FCreating = false;      // CreateDataSet is opening
    bool FAllFetched = true;     // the provider has no more rows
    ole::Variant FFirstPacket;   // read for the field definitions, appended at open
    std::vector<int> FPacketMap; // packet column -> field column (-1 ignored)
};

} // namespace db
