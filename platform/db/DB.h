// Datasets, fields, data sources and data links in the shape of the VCL's DB unit.
//
// A dataset keeps its records in memory (one column per field); TClientDataSet fills it from
// field definitions or from an application-server provider. The state machine, navigation,
// events, bookmarks and Locate follow the VCL: moving to another record posts a pending edit,
// field changes fire OnChange, and data links hear of every change unless controls are
// disabled.
//
// A data-aware control holds a TDataSource* and a TDataLink (or TFieldDataLink) of its own:
//
//   class TMyGridLink : public db::TDataLink {
//       void DataSetChanged() override { grid->Invalidate(); }
//       void DataSetScrolled(int) override { grid->ScrollToCurrent(); }
//   };
//   link.SetDataSource(ds);          // later ds may be freed: the link is told and cleared
//
// Grids read any record without moving the cursor through TField::TextOf / ValueOf(index).
#pragma once

#include "platform/ole/Variant.h"
#include "platform/rtl/Sets.h"
#include "platform/vcl/Component.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace db {

using rtl::TObject;
using vcl::TComponent;

RTL_EXCEPTION_CLASS(EDatabaseError, rtl::Exception);

// Raises EDatabaseError; when the component has a name the message starts with "Name: ", as the
// VCL writes "cds01: Field 'X' not found".
[[noreturn]] void DatabaseError(const std::string& message, const TComponent* component = nullptr);

enum class TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftBoolean,
    ftFloat,
    ftDate,
    ftDateTime,
    ftMemo,
};
// "String", "Smallint", "Integer", "Boolean", "Float", "Date", "DateTime", "Memo"
const char* FieldTypeName(TFieldType type);
bool FieldTypeFromName(std::string_view name, TFieldType& type);

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum class TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
};

enum class TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = rtl::TSet<TLocateOption>;

class TDataSet;
class TDataSource;
class TField;

using TDataSetNotifyEvent = rtl::TEvent<TDataSet*>;
using TFieldNotifyEvent = rtl::TEvent<TField*>;
using TFieldGetTextEvent = rtl::TEvent<TField*, std::string&, bool /*DisplayText*/>;
using TFieldSetTextEvent = rtl::TEvent<TField*, const std::string&>;
using TDataChangeEvent = rtl::TEvent<TObject*, TField*>;

// One field's value in one record: text fields use Str, the others Num (integers, booleans as
// 0/1, dates as day numbers).
struct TFieldValue {
    bool Null = true;
    double Num = 0;
    std::string Str;
};

// A record's position that survives moves, inserts and deletes; a deleted record's bookmark
// stays recognisably invalid.
struct TBookmark {
    uint64_t Id = 0;
    uint32_t Slot = 0;
    explicit operator bool() const { return Id != 0; }
    bool operator==(const TBookmark&) const = default;
};

// ---------------------------------------------------------------------------------------------
// Fields

class TField : public TComponent {
    RTL_DECLARE_CLASS(TField, TComponent)
public:
    explicit TField(TComponent* owner);
    ~TField() override;

    TDataSet* DataSet() const { return FDataSet; }
    // EDatabaseError while the new or the old dataset is open.
    void SetDataSet(TDataSet* dataSet);
    void SetParentComponent(TComponent* parent) override;

    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& name);
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }
    virtual void SetSize(int size);
    std::string DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& label) {
        FDisplayLabel = label;
        Changed();
    }
    std::string DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth(); }
    void SetDisplayWidth(int width) {
        FDisplayWidth = width;
        Changed();
    }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) {
        FVisible = value;
        Changed();
    }
    bool Required() const { return FRequired; }
    void SetRequired(bool value) { FRequired = value; }
    // Position among the dataset's fields; -1 without a dataset.
    int Index() const;
    bool IsText() const {
        return FDataType == TFieldType::ftString || FDataType == TFieldType::ftMemo;
    }
    // The field can take a new value: writable field of a writable, open dataset.
    bool CanModify() const;

    // The current record's value. Writing needs the dataset in edit or insert state.
    bool IsNull() const;
    void Clear();
    ole::Variant AsVariant() const;
    void SetAsVariant(const ole::Variant& value);
    std::string AsString() const;
    void SetAsString(const std::string& value);
    int AsInteger() const;
    void SetAsInteger(int value);
    double AsFloat() const;
    void SetAsFloat(double value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    double AsDateTime() const;
    void SetAsDateTime(double value);

    // Text for showing (DisplayFormat) and for editing (EditFormat); OnGetText may replace both.
    std::string Text() const { return GetText(false); }
    std::string DisplayText() const { return GetText(true); }
    std::string EditText() const { return GetText(false); }
    // Text as typed by a user: through OnSetText when assigned, else parsed by the field.
    void SetText(const std::string& text);
    void SetEditText(const std::string& text) { SetText(text); }

    // Another record's value and text, without moving the cursor; grids paint with these.
    // index counts the rows as shown, from 0 to DisplayRecordCount() - 1: while a record is
    // inserted it is row RecNo() - 1 and the rows after it move down by one.
    ole::Variant ValueOf(int index) const;
    std::string TextOf(int index, bool displayText = true) const;

    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

    // Conversions between stored values and texts; subclasses define them.
    virtual std::string ValueToString(const TFieldValue& v) const;
    virtual void StringToValue(const std::string& text, TFieldValue& v) const;
    virtual std::string ValueToText(const TFieldValue& v, bool displayText) const;
    virtual ole::Variant ValueToVariant(const TFieldValue& v) const;
    // Raises EDatabaseError when the number does not fit the field.
    virtual void CheckNumber(double value) const;

protected:
    TField(TComponent* owner, TFieldType type);
    virtual int DefaultWidth() const { return 10; }
    std::string GetText(bool displayText) const;
    void Store(TFieldValue v);
    void Changed(); // a display property changed: the layout of bound grids
    [[noreturn]] void ConvertError(const char* what, const std::string& text) const;

    TFieldType FDataType = TFieldType::ftUnknown;
    int FSize = 0;

private:
    friend class TDataSet;
    TDataSet* FDataSet = nullptr;
    std::string FFieldName;
    std::string FDisplayLabel;
    int FDisplayWidth = 0;
    bool FReadOnly = false;
    bool FVisible = true;
    bool FRequired = false;
    int FColumn = -1; // the store's column while the dataset is open
};

// Text of at most Size bytes of the system code page (default 20). Longer texts are cut to
// whole characters, so a double-byte character is never split.
class TStringField : public TField {
    RTL_DECLARE_CLASS(TStringField, TField)
public:
    explicit TStringField(TComponent* owner);
    void StringToValue(const std::string& text, TFieldValue& v) const override;

protected:
    int DefaultWidth() const override { return FSize; }
};

// Text without a size limit; shown in grids as "(MEMO)" ("(memo)" when empty) as the VCL does.
class TMemoField : public TField {
    RTL_DECLARE_CLASS(TMemoField, TField)
public:
    explicit TMemoField(TComponent* owner);
    std::string ValueToText(const TFieldValue& v, bool displayText) const override;
};

// Numbers with a FormatFloat display format and edit format.
class TNumericField : public TField {
    RTL_DECLARE_CLASS(TNumericField, TField)
public:
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& f) {
        FDisplayFormat = f;
        Changed();
    }
    const std::string& EditFormat() const { return FEditFormat; }
    void SetEditFormat(const std::string& f) {
        FEditFormat = f;
        Changed();
    }
    ole::Variant ValueToVariant(const TFieldValue& v) const override;

protected:
    TNumericField(TComponent* owner, TFieldType type) : TField(owner, type) {}

private:
    std::string FDisplayFormat;
    std::string FEditFormat;
};

class TIntegerField : public TNumericField {
    RTL_DECLARE_CLASS(TIntegerField, TNumericField)
public:
    explicit TIntegerField(TComponent* owner);
    std::string ValueToString(const TFieldValue& v) const override;
    void StringToValue(const std::string& text, TFieldValue& v) const override;
    std::string ValueToText(const TFieldValue& v, bool displayText) const override;
    void CheckNumber(double value) const override;

protected:
    TIntegerField(TComponent* owner, TFieldType type) : TNumericField(owner, type) {}
    int DefaultWidth() const override { return 11; }
    virtual int MinValue() const { return INT32_MIN; }
    virtual int MaxValue() const { return INT32_MAX; }
};

class TSmallintField : public TIntegerField {
    RTL_DECLARE_CLASS(TSmallintField, TIntegerField)
public:
    explicit TSmallintField(TComponent* owner);

protected:
    int DefaultWidth() const override { return 6; }
    int MinValue() const override { return -32768; }
    int MaxValue() const override { return 32767; }
};

class TFloatField : public TNumericField {
    RTL_DECLARE_CLASS(TFloatField, TNumericField)
public:
    explicit TFloatField(TComponent* owner);
    std::string ValueToString(const TFieldValue& v) const override;
    void StringToValue(const std::string& text, TFieldValue& v) const override;
    std::string ValueToText(const TFieldValue& v, bool displayText) const override;
    void CheckNumber(double value) const override;
};

// DisplayValues "True;False" give the texts of true and false.
class TBooleanField : public TField {
    RTL_DECLARE_CLASS(TBooleanField, TField)
public:
    explicit TBooleanField(TComponent* owner);
    const std::string& DisplayValues() const { return FDisplayValues; }
    void SetDisplayValues(const std::string& values);
    std::string ValueToString(const TFieldValue& v) const override;
    void StringToValue(const std::string& text, TFieldValue& v) const override;
    ole::Variant ValueToVariant(const TFieldValue& v) const override;

protected:
    int DefaultWidth() const override { return 5; }

private:
    std::string FDisplayValues = "True;False";
    std::string FTrue = "True", FFalse = "False";
};

// Day numbers with a FormatDateTime display format; texts read as "yyyy/m/d [h:nn[:ss]]" with
// the process's date separator.
class TDateTimeField : public TField {
    RTL_DECLARE_CLASS(TDateTimeField, TField)
public:
    explicit TDateTimeField(TComponent* owner);
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& f) {
        FDisplayFormat = f;
        Changed();
    }
    std::string ValueToString(const TFieldValue& v) const override;
    void StringToValue(const std::string& text, TFieldValue& v) const override;
    std::string ValueToText(const TFieldValue& v, bool displayText) const override;
    ole::Variant ValueToVariant(const TFieldValue& v) const override;

protected:
    TDateTimeField(TComponent* owner, TFieldType type) : TField(owner, type) {}
    int DefaultWidth() const override { return 18; }
    virtual const char* DefaultFormat() const { return "c"; }

private:
    std::string FDisplayFormat;
};

class TDateField : public TDateTimeField {
    RTL_DECLARE_CLASS(TDateField, TDateTimeField)
public:
    explicit TDateField(TComponent* owner);

protected:
    int DefaultWidth() const override { return 10; }
    const char* DefaultFormat() const override { return "ddddd"; }
};

// The field class for a data type (null for ftUnknown).
const rtl::TClassInfo* FieldClassOf(TFieldType type);

// ---------------------------------------------------------------------------------------------
// Field definitions: what an open creates fields from when the dataset has none of its own.

struct TFieldDef {
    std::string Name;
    TFieldType DataType = TFieldType::ftUnknown;
    int Size = 0;
    bool Required = false;
    // Creates the field (owned by owner) bound to dataSet.
    TField* CreateField(TComponent* owner, TDataSet* dataSet) const;
};

class TFieldDefs {
public:
    TFieldDef& Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
    int Count() const { return static_cast<int>(FItems.size()); }
    const TFieldDef& Items(int index) const { return FItems.at(size_t(index)); }
    int IndexOf(std::string_view name) const; // without regard to case; -1
    void Clear() { FItems.clear(); }

private:
    std::vector<TFieldDef> FItems;
};

// ---------------------------------------------------------------------------------------------
// Datasets

class TDataSet : public TComponent {
    RTL_DECLARE_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* owner);
    ~TDataSet() override;

    // Open and close. Set while loading from a resource, Active opens once loading ends.
    void Open();
    void Close();
    bool Active() const { return FState != TDataSetState::dsInactive; }
    void SetActive(bool value);
    TDataSetState State() const { return FState; }

    TFieldDefs& FieldDefs() { return FFieldDefs; }
    const TFieldDefs& FieldDefs() const { return FFieldDefs; }
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int index) const { return FFields.at(size_t(index)); }
    TField* FindField(std::string_view name) const;   // without regard to case; null
    TField* FieldByName(std::string_view name) const; // EDatabaseError "Field 'X' not found"

    // Navigation. Each move posts a pending edit first (CheckBrowseMode) and runs
    // BeforeScroll/AfterScroll.
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance); // the distance actually moved
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    bool IsEmpty() const;
    int RecordCount() const;
    // 1-based; 0 when there is no current record; while inserting, the new record's row.
    int RecNo() const;
    // RecordCount, plus the record being inserted.
    int DisplayRecordCount() const;
    void SetRecNo(int recNo);

    // Editing.
    void Edit(); // on an empty dataset: Insert, as the VCL does
    void Insert();
    void Append();
    void Post(); // EDatabaseError "Dataset not in edit or insert mode" in browse state
    void Cancel();
    void Delete();
    void CheckBrowseMode(); // posts a modified pending record, cancels an untouched one
    void UpdateRecord();    // controls write their pending texts (UpdateData)
    bool Modified() const { return FModified; }
    bool CanModify() const { return Active() && !FReadOnly; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Deletes every record (no delete events), as EmptyDataSet.
    void EmptyDataSet();

    TBookmark GetBookmark() const; // empty when there is no current record
    bool BookmarkValid(const TBookmark& bookmark) const;
    void GotoBookmark(const TBookmark& bookmark); // EDatabaseError "Record not found"
    void FreeBookmark(TBookmark&) {}

    // keyFields "A;B;C"; values a single value or a variant array of one per key field.
    bool Locate(std::string_view keyFields, const ole::Variant& values,
                TLocateOptions options = {});
    ole::Variant Lookup(std::string_view keyFields, const ole::Variant& values,
                        std::string_view resultFields);

    // Controls hear nothing while disabled; the count nests; the last EnableControls tells
    // them the dataset changed. An extra EnableControls is ignored.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord;

    // Internal: used by fields, data sources and subclasses.
    void ReadValue(const TField* field, int index, TFieldValue& out) const; // index -1 = current
    void WriteValue(TField* field, TFieldValue value);
    void DataEvent(TDataEvent event, TField* field = nullptr, int info = 0);
    void AddField(TField* field);
    void RemoveField(TField* field);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    void CheckActive() const;   // "Cannot perform this operation on a closed dataset"
    void CheckInactive() const; // "Cannot perform this operation on an open dataset"

protected:
    void Loaded() override;
    // Open: fields are bound and the store is empty; fill it with AppendRecord.
    virtual void InternalOpen() {}
    virtual void InternalClose() {}
    // Called when the cursor reaches the end; answer true when more records arrived.
    virtual bool FetchMore() { return false; }
    // Before the fields are created: a chance to fill FieldDefs (from a provider's packet).
    virtual void InitFieldDefs() {}
    // Orders two stored records by keys: nulls first, texts by their bytes, numbers by value.
    int CompareRecords(uint32_t slotA, uint32_t slotB, const std::vector<TField*>& keys) const;
    // Appends one record to the store without events (filling from a provider or a file).
    void AppendRecord(const std::vector<TFieldValue>& values);
    // Re-sorts the store by keys (stable) and keeps the current record current.
    void SortRecords(const std::vector<TField*>& keys);
    std::vector<TField*> FieldList(std::string_view names) const; // "A;B"; EDatabaseError
    // The fields the records are kept sorted by; empty keeps the order records were put in.
    virtual std::vector<TField*> SortKeys() const { return {}; }

private:
    struct TStore;
    void CreateFields();
    void DestroyFields();
    void SetState(TDataSetState state);
    void StartBuffer(int insertPos);
    int SortedPosition(uint32_t slot, const std::vector<TField*>& keys) const;
    int PositionOf(const TBookmark& bookmark) const;
    bool MatchRecord(uint32_t slot, const std::vector<TField*>& keys,
                     const std::vector<TFieldValue>& values, TLocateOptions options) const;
    std::vector<TFieldValue> KeyValues(const std::vector<TField*>& keys,
                                       const ole::Variant& values) const;
    void DoEvent(const TDataSetNotifyEvent& event) { event(this); }
    void DetachAll();
    friend class TField;

    std::unique_ptr<TStore> FStore;
    TFieldDefs FFieldDefs;
    std::vector<TField*> FFields;
    std::vector<TField*> FOwnFields; // created at open from the definitions, freed at close
    std::vector<TDataSource*> FDataSources;
    std::vector<TFieldValue> FBuffer; // the record being edited or inserted
    mutable int FViewIndex = -1;      // a record other than the current one, read by OnGetText
    TDataSetState FState = TDataSetState::dsInactive;
    int FCurrent = -1;   // position in the order; -1 when empty
    int FInsertPos = -1; // where an inserted record goes
    bool FBof = true, FEof = true;
    bool FModified = false;
    bool FReadOnly = false;
    bool FStreamedActive = false;
    int FDisableCount = 0;
    TDataSetState FDisableState = TDataSetState::dsInactive;
};

// ---------------------------------------------------------------------------------------------
// Data sources and links

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    // The source is enabled and its dataset open.
    bool Active() const { return FActive; }
    // The dataset is in edit or insert state (and the link is not read-only).
    bool Editing() const { return FEditing; }
    bool ReadOnly = false;
    // Puts the dataset into edit state when the source allows it (AutoEdit); answers Editing.
    bool Edit();
    // Asks the controls of the dataset to write their pending texts.
    void UpdateRecord();

protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}

private:
    friend class TDataSource;
    void DataEvent(TDataEvent event, TField* field, int info);
    void UpdateState();
    TDataSource* FDataSource = nullptr;
    bool FActive = false;
    bool FEditing = false;
    bool FUpdating = false;
};

// A link to one field of the source's dataset, for single-field controls (edits, labels).
class TFieldDataLink : public TDataLink {
public:
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& name);
    TField* Field() const { return FField; }
    TComponent* Control = nullptr;
    bool CanModify() const;
    // The control's text differs from the field: UpdateData will ask for it.
    void Modified() { FModified = true; }
    void Reset(); // the control shows the field again (OnDataChange)

    // Sender is Control.
    rtl::TNotifyEvent OnDataChange;
    rtl::TNotifyEvent OnEditingChange;
    rtl::TNotifyEvent OnUpdateData;
    rtl::TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void UpdateField();
    TObject* Sender() const { return Control; }
    std::string FFieldName;
    TField* FField = nullptr;
    bool FModified = false;
};

class TDataSource : public TComponent {
    RTL_DECLARE_CLASS(TDataSource, TComponent)
public:
    explicit TDataSource(TComponent* owner);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool value) { FAutoEdit = value; }
    // The dataset's state; dsInactive without an enabled, open dataset.
    TDataSetState State() const;
    // Puts the dataset into edit state when AutoEdit and in browse state.
    void Edit();

    TDataChangeEvent OnDataChange;
    rtl::TNotifyEvent OnStateChange;
    rtl::TNotifyEvent OnUpdateData;

    // Internal: the dataset's events, passed to the links.
    void DataEvent(TDataEvent event, TField* field, int info);
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);

private:
    void NotifyLinks(TDataEvent event, TField* field, int info);
    TDataSet* FDataSet = nullptr;
    std::vector<TDataLink*> FLinks;
    bool FEnabled = true;
    bool FAutoEdit = true;
    TDataSetState FState = TDataSetState::dsInactive;
};

// Makes sure the classes of this library are registered (a static library drops unreferenced
// registrations); call before reading forms that hold datasets.
void RegisterDB();

} // namespace db
